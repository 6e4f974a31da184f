#include "recoverycopy.h"

#include "formdefinition.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include <algorithm>

namespace {

// Beside each copy, the path of the file it keeps the work of.
const QString FileSuffix = QStringLiteral(".file");
constexpr int DefaultDelay = 2000;

QString absolute(const QString &file)
{
    return file.isEmpty() ? QString() : QFileInfo(file).absoluteFilePath();
}

bool writeWhole(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace

RecoveryCopy::RecoveryCopy(std::function<QByteArray()> contents, QObject *parent)
    : QObject(parent), m_contents(std::move(contents))
{
    m_timer.setSingleShot(true);
    m_timer.setInterval(DefaultDelay);
    connect(&m_timer, &QTimer::timeout, this, &RecoveryCopy::write);
}

QString RecoveryCopy::folder()
{
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (state.isEmpty() || QDir::isRelativePath(state)) {
        const QString home = QDir::homePath();
        state = home.isEmpty() || home == QDir::rootPath()
                    ? QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation)
                    : home + QStringLiteral("/.local/state");
    }
    return state + QStringLiteral("/mirvale-designer/recovery");
}

QString RecoveryCopy::copyPath(const QString &file)
{
    const QString path = absolute(file);
    const QString base = path.isEmpty() ? QStringLiteral("untitled") : QFileInfo(path).baseName();
    const QByteArray hash =
        QCryptographicHash::hash(path.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    return QStringLiteral("%1/%2-%3.xml").arg(folder(), base.left(40), QString::fromLatin1(hash));
}

std::optional<RecoveryCopy::Found> RecoveryCopy::newerCopyOf(const QString &file)
{
    const QFileInfo copy(copyPath(file));
    if (!copy.isFile())
        return std::nullopt;
    const QFileInfo original(file);
    if (original.exists() && original.lastModified() >= copy.lastModified())
        return std::nullopt;
    return Found{copy.filePath(), absolute(file), copy.lastModified()};
}

QList<RecoveryCopy::Found> RecoveryCopy::copies()
{
    QList<Found> found;
    QDirIterator entries(folder(), {QStringLiteral("*.xml")}, QDir::Files);
    while (entries.hasNext()) {
        const QFileInfo copy(entries.next());
        QFile named(copy.filePath() + FileSuffix);
        const QString file =
            named.open(QIODevice::ReadOnly) ? QString::fromUtf8(named.readAll()) : QString();
        // A copy is the one of its file only under that file's name.
        if (copyPath(file) == copy.filePath())
            found.append({copy.filePath(), file, copy.lastModified()});
    }
    std::sort(found.begin(), found.end(),
              [](const Found &a, const Found &b) { return a.written > b.written; });
    return found;
}

void RecoveryCopy::setFile(const QString &file)
{
    m_timer.stop();
    m_file = absolute(file);
}

void RecoveryCopy::changed()
{
    if (!m_timer.isActive())
        m_timer.start();
}

bool RecoveryCopy::write()
{
    m_timer.stop();
    QByteArray bytes;
    try {
        bytes = m_contents();
    } catch (const forms::DefinitionError &) {
        // What cannot be stored now is kept by the copy before it, as the file is by Save.
        return false;
    }
    const QString copy = copyPath(m_file);
    if (!QDir().mkpath(folder()))
        return false;
    // The name of the file first: a copy without it is never offered.
    return writeWhole(copy + FileSuffix, m_file.toUtf8()) && writeWhole(copy, bytes);
}

void RecoveryCopy::discard(const QString &copy)
{
    QFile::remove(copy);
    QFile::remove(copy + FileSuffix);
}

void RecoveryCopy::remove()
{
    m_timer.stop();
    discard(copyPath(m_file));
}
