#include "pointerwatch.h"

#include <QCursor>
#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace {

constexpr int CaptureInterval = 100;

} // namespace

PointerWatch::PointerWatch(QWidget *face, QObject *parent)
    : QObject(parent), m_face(face), timCapture(new QTimer(this))
{
    timCapture->setObjectName(QStringLiteral("timCapture"));
    timCapture->setInterval(CaptureInterval);
    connect(timCapture, &QTimer::timeout, this,
            [this] { emit checked(!m_windowLostPointer && pointerOverFace()); });
}

void PointerWatch::start()
{
    watchWindowForLeave();
    if (!timCapture->isActive())
        timCapture->start();
}

void PointerWatch::stop()
{
    timCapture->stop();
}

bool PointerWatch::isActive() const
{
    return timCapture->isActive();
}

// The face's screen rectangle, whose right is left + width and bottom top + height; all four
// bounds count as inside.
bool PointerWatch::pointerOverFace() const
{
    const QRect face(m_face->mapToGlobal(QPoint(0, 0)), m_face->size());
    const int left = face.x(), top = face.y();
    const int right = left + face.width(), bottom = top + face.height();
    const QPoint pointer = QCursor::pos();
    return pointer.x() >= left && pointer.x() <= right && pointer.y() >= top &&
           pointer.y() <= bottom;
}

// Only the window system's own crossing notifications count: a modal box that blocks the window
// also sends it a leave, but the pointer is still where it was.
void PointerWatch::watchWindowForLeave()
{
    m_windowLostPointer = false;
    QWindow *current = m_face->window()->windowHandle();
    if (current == m_pointerWindow)
        return;
    if (m_pointerWindow)
        m_pointerWindow->removeEventFilter(this);
    m_pointerWindow = current;
    if (current)
        current->installEventFilter(this);
}

bool PointerWatch::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_pointerWindow && event->spontaneous()) {
        if (event->type() == QEvent::Leave)
            m_windowLostPointer = true;
        else if (event->type() == QEvent::Enter)
            m_windowLostPointer = false;
    }
    return QObject::eventFilter(watched, event);
}
