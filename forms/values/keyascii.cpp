#include "keyascii.h"

namespace forms {

std::optional<qint16> keyAsciiOf(const QKeyEvent *event)
{
    const QString text = event->text();
    if (text.isEmpty())
        return std::nullopt;
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        return qint16(13);
    return qint16(text.at(0).unicode());
}

QKeyEvent withKeyAscii(const QKeyEvent *event, qint16 keyAscii)
{
    const QChar character{char16_t(quint16(keyAscii))};
    return QKeyEvent(event->type(), event->key(), event->modifiers(), QString(character),
                     event->isAutoRepeat(), ushort(event->count()));
}

qint16 keyCodeOf(const QKeyEvent *event)
{
    const int key = event->key();
    if ((key >= Qt::Key_0 && key <= Qt::Key_9) || (key >= Qt::Key_A && key <= Qt::Key_Z))
        return qint16(key);
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return qint16(112 + (key - Qt::Key_F1));
    switch (key) {
    case Qt::Key_Backspace:
        return 8;
    case Qt::Key_Tab:
        return 9;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 13;
    case Qt::Key_Shift:
        return 16;
    case Qt::Key_Control:
        return 17;
    case Qt::Key_Alt:
        return 18;
    case Qt::Key_Pause:
        return 19;
    case Qt::Key_CapsLock:
        return 20;
    case Qt::Key_Escape:
        return 27;
    case Qt::Key_Space:
        return 32;
    case Qt::Key_PageUp:
        return 33;
    case Qt::Key_PageDown:
        return 34;
    case Qt::Key_End:
        return 35;
    case Qt::Key_Home:
        return 36;
    case Qt::Key_Left:
        return 37;
    case Qt::Key_Up:
        return 38;
    case Qt::Key_Right:
        return 39;
    case Qt::Key_Down:
        return 40;
    case Qt::Key_Insert:
        return 45;
    case Qt::Key_Delete:
        return 46;
    default:
        return key < 0x7F ? qint16(key) : 0;
    }
}

qint16 shiftStateOf(Qt::KeyboardModifiers modifiers)
{
    qint16 state = 0;
    if (modifiers & Qt::ShiftModifier)
        state |= 1;
    if (modifiers & Qt::ControlModifier)
        state |= 2;
    if (modifiers & Qt::AltModifier)
        state |= 4;
    return state;
}

} // namespace forms
