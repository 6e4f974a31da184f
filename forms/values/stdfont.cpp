#include "stdfont.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QGuiApplication>
#include <QHash>
#include <QPointer>
#include <QScreen>

#include <algorithm>
#include <cmath>

namespace forms {

namespace {

// Faces already looked up, forgotten when the desktop's fonts or the substitutions change, and
// with the application they were looked up in.
QHash<QString, QString> &resolvedFamilies()
{
    static QHash<QString, QString> families;
    static QPointer<QGuiApplication> watched;
    if (watched != qGuiApp) {
        families.clear();
        watched = qGuiApp;
        QObject::connect(qGuiApp, &QGuiApplication::fontDatabaseChanged, qGuiApp,
                         [] { families.clear(); });
    }
    return families;
}

// The family to ask the toolkit for: the face itself when the desktop has it, otherwise its
// first substitute that the desktop has, which is what the toolkit would settle on. Asking for
// that directly spares the font system a search for fallbacks of a face that is not there.
QString installedFamily(const QString &name)
{
    if (!qGuiApp || QFont::substitutes(name).isEmpty())
        return name;
    auto &resolved = resolvedFamilies();
    auto found = resolved.constFind(name);
    if (found != resolved.cend())
        return *found;
    QString family = name;
    const QStringList installed = QFontDatabase::families();
    if (!installed.contains(name, Qt::CaseInsensitive)) {
        // The substitutes come in lower case; the family is named as the desktop spells it.
        for (const QString &substitute : QFont::substitutes(name)) {
            const auto spelled =
                std::find_if(installed.cbegin(), installed.cend(), [&](const QString &family) {
                    return family.compare(substitute, Qt::CaseInsensitive) == 0;
                });
            if (spelled != installed.cend()) {
                family = *spelled;
                break;
            }
        }
    }
    resolved.insert(name, family);
    return family;
}

} // namespace

QFont StdFont::toQFont() const
{
    QFont font(installedFamily(name));
    if (size > 0)
        font.setPointSizeF(size);
    font.setWeight(QFont::Weight(std::clamp<int>(weight, 1, 1000)));
    font.setItalic(italic);
    font.setUnderline(underline);
    font.setStrikeOut(strikethrough);
    return font;
}

StdFont StdFont::fromQFont(const QFont &font, qint16 charset)
{
    StdFont result;
    result.name = font.family();
    double points = font.pointSizeF();
    if (points <= 0) {
        const QScreen *screen = qGuiApp ? QGuiApplication::primaryScreen() : nullptr;
        const qreal dpi = screen ? screen->logicalDotsPerInchY() : 96;
        points = font.pixelSize() * 72.0 / dpi;
    }
    // Point sizes are kept to four decimals, as font objects store them.
    result.size = std::round(points * 10000.0) / 10000.0;
    result.weight = qint16(font.weight());
    result.charset = charset;
    result.italic = font.italic();
    result.underline = font.underline();
    result.strikethrough = font.strikeOut();
    return result;
}

void installFontSubstitutes()
{
    // Liberation and DejaVu are what Debian desktops carry; the narrower faces come first so
    // that captions sized for the Windows bitmap faces are not clipped.
    const QStringList sans = {QStringLiteral("Liberation Sans"), QStringLiteral("Nimbus Sans"),
                              QStringLiteral("DejaVu Sans Condensed"),
                              QStringLiteral("DejaVu Sans")};
    for (const char *face : {"MS Sans Serif", "Microsoft Sans Serif", "MS Shell Dlg", "Tahoma"})
        QFont::insertSubstitutions(QString::fromLatin1(face), sans);
    if (qGuiApp)
        resolvedFamilies().clear();
}

} // namespace forms

namespace forms {

QFont defaultWindowFont()
{
    installFontSubstitutes();
    const QString classic = QStringLiteral("MS Sans Serif");
    QString family = installedFamily(classic);
    if (family == classic) {
        QFont requested(classic);
        requested.setPointSizeF(8.25);
        family = QFontInfo(requested).family();
    }
    QFont font(family);
    font.setPointSizeF(8.25);
    return font;
}

} // namespace forms
