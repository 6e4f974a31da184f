#pragma once

#include <QObject>
#include <QPointer>

class QTimer;
class QWidget;
class QWindow;

// Watches, every 100 ms while it runs, whether the pointer is still over a face. The pointer
// counts as gone once the window system has taken it out of the face's window: the position the
// toolkit reports is then only the last one the window saw, and where the pointer is known only
// inside the program's own windows (Wayland) that is the only sign of it going away.
class PointerWatch : public QObject
{
    Q_OBJECT

public:
    explicit PointerWatch(QWidget *face, QObject *parent);

    // Starts watching, or goes on with a running watch without restarting its period: a pointer
    // event on the face means the window holds the pointer now.
    void start();
    void stop();
    bool isActive() const;

signals:
    // At each period: whether the pointer is still over the face.
    void checked(bool over);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void watchWindowForLeave();
    bool pointerOverFace() const;

    QWidget *m_face;
    QTimer *timCapture;
    // The top-level window the pointer was last seen in, and whether the window system has since
    // said the pointer left it.
    QPointer<QWindow> m_pointerWindow;
    bool m_windowLostPointer = false;
};
