#pragma once

// Driving real windows from outside: xdotool for input, ImageMagick for screenshots.

#include <QDir>
#include <QProcess>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QtDebug>

// Runs a program to its end and gives its standard output.
inline QString run(const QString &program, const QStringList &arguments, int timeout = 10000)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(timeout))
        qWarning() << program << arguments << "did not finish";
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

inline QString xdotool(const QStringList &arguments)
{
    return run(QStringLiteral("xdotool"), arguments);
}

// A picture of the screen around an area, saved where screenshots are asked for
// (MIRVALE_SCREENSHOT_DIR); nothing otherwise.
inline void screenshot(const QRect &area, const QString &name)
{
    const QString folder = qEnvironmentVariable("MIRVALE_SCREENSHOT_DIR");
    if (folder.isEmpty())
        return;
    QDir().mkpath(folder);
    // Room above for the title bar a window manager adds.
    const QRect margin = area.adjusted(-10, -34, 10, 10);
    run(QStringLiteral("import"), {"-window", "root", "-crop",
                                   QStringLiteral("%1x%2+%3+%4")
                                       .arg(margin.width())
                                       .arg(margin.height())
                                       .arg(margin.x())
                                       .arg(margin.y()),
                                   "+repage", folder + u'/' + name});
}
