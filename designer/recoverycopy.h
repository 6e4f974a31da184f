#pragma once

#include <QDateTime>
#include <QObject>
#include <QTimer>

#include <functional>
#include <optional>

// The copy of unsaved work that survives a crash. While a window has changes nobody has saved,
// its definition is written, about two seconds after a change, next to the other copies in the
// user's state folder ($XDG_STATE_HOME/mirvale-designer/recovery, by default
// ~/.local/state/mirvale-designer/recovery), under a name made from the file's path. Each write
// replaces the copy whole or not at all, so a crash at any moment leaves the last copy or none.
// The copy goes when the work is saved or discarded, and when the designer ends cleanly.
class RecoveryCopy : public QObject
{
    Q_OBJECT

public:
    struct Found
    {
        QString copy; // the copy's own path
        QString file; // the file it is a copy of; empty for a window never saved
        QDateTime written;
    };

    // `contents` gives the bytes to keep; it may throw forms::DefinitionError, and then the copy
    // written last stays.
    explicit RecoveryCopy(std::function<QByteArray()> contents, QObject *parent = nullptr);

    static QString folder();
    // Where the copy of a file (or of a window never saved, for an empty path) goes.
    static QString copyPath(const QString &file);
    // The copy of a file when there is one newer than the file.
    static std::optional<Found> newerCopyOf(const QString &file);
    // Every copy there is, newest first.
    static QList<Found> copies();
    // Removes a copy whose work was recovered elsewhere or turned down.
    static void discard(const QString &copy);

    // The file whose work is kept from now on; an empty path for a window never saved.
    void setFile(const QString &file);
    // The work changed: the copy is written after the delay, at most that long after the first
    // change since the last copy.
    void changed();
    void setDelay(int milliseconds) { m_timer.setInterval(milliseconds); }
    // Writes the copy now; true when written.
    bool write();
    // The work was saved or discarded: its copy goes.
    void remove();

private:
    std::function<QByteArray()> m_contents;
    QString m_file;
    QTimer m_timer;
};
