// LumoButton and the pointer, the keyboard and focus: the capture timer that notices the pointer
// leaving, and the faces each event draws.
#include "lumobutton.h"

#include "lumobuttonaccessible.h"
#include "picturebox.h"

#include <QCursor>
#include <QTimer>
#include <QWindow>

using forms::OleColor;
using forms::StdFont;
using forms::StdPicture;

// ---- Interaction ---------------------------------------------------------------------------

bool LumoButton::isCapturing() const
{
    return timCapture->isActive();
}

void LumoButton::StartCapture()
{
    watchWindowForLeave();
    m_PointerInside = true;
    // Enabling a running timer leaves its period as it is.
    if (!timCapture->isActive())
        timCapture->start();
    emit MouseEnter();
}

void LumoButton::picButton_MouseMove(float X, float Y)
{
    if (!m_PointerInside) {
        m_PointerInside = true;
        StartCapture();
        DrawSelected();
    }
    // The edges count as inside.
    const float left = picButton->ScaleLeft(), top = picButton->ScaleTop();
    const float right = left + picButton->ScaleWidth();
    const float bottom = top + picButton->ScaleHeight();
    if (X < left || Y < top || X > right || Y > bottom) {
        DrawUnselected();
        m_PointerInside = false;
    }
}

void LumoButton::picButton_MouseDown()
{
    m_Value = !m_Value;
    LumoButtonAccessible::announceValue(this);
    DrawPressed();
    StartCapture();
}

// The release clicks wherever the pointer is; the face last drawn stays until the next draw.
void LumoButton::picButton_MouseUp()
{
    StartCapture();
    m_PointerInside = false;
    emit Click();
}

// The pointer counts as outside once the window system has taken it out of the button's window:
// the pointer position the toolkit reports is then only the last one the window saw.
void LumoButton::timCapture_Timer()
{
    if (!m_windowLostPointer && pointerOverFace())
        return;
    DrawUnselected();
    m_PointerInside = false;
    timCapture->stop();
    emit MouseExit();
}

// The face's screen rectangle, whose right is left + width and bottom top + height; all four
// bounds count as inside.
bool LumoButton::pointerOverFace() const
{
    const QRect face(picButton->mapToGlobal(QPoint(0, 0)), picButton->size());
    const int left = face.x(), top = face.y();
    const int right = left + face.width(), bottom = top + face.height();
    const QPoint pointer = QCursor::pos();
    return pointer.x() >= left && pointer.x() <= right && pointer.y() >= top &&
           pointer.y() <= bottom;
}

// A pointer event on the face means the window holds the pointer now. Only the window system's
// own crossing notifications count afterwards: a modal box that blocks the window also sends it
// a leave, but the pointer is still where it was.
void LumoButton::watchWindowForLeave()
{
    m_windowLostPointer = false;
    QWindow *current = window()->windowHandle();
    if (current == m_pointerWindow)
        return;
    if (m_pointerWindow)
        m_pointerWindow->removeEventFilter(this);
    m_pointerWindow = current;
    if (current)
        current->installEventFilter(this);
}

bool LumoButton::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_pointerWindow && event->spontaneous()) {
        if (event->type() == QEvent::Leave)
            m_windowLostPointer = true;
        else if (event->type() == QEvent::Enter)
            m_windowLostPointer = false;
    }
    return forms::UserControl::eventFilter(watched, event);
}

void LumoButton::picButton_LostFocus()
{
    if (!m_PointerInside)
        DrawUnselected();
}

void LumoButton::picButton_KeyPress(qint16 &KeyAscii)
{
    emit KeyPress(KeyAscii);
}

void LumoButton::UserControl_Paint()
{
    DrawUnselected();
}

void LumoButton::UserControl_Resize()
{
    DrawUnselected();
}
