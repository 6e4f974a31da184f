#pragma once

#include <QKeyEvent>

#include <optional>

namespace forms {

// The character code a key press carries (13 for Enter), or nothing for keys that type no
// character. Codes above 32767 read as negative, as in a 16-bit integer.
std::optional<qint16> keyAsciiOf(const QKeyEvent *event);

// The same key press carrying another character, for a handler that changed the code.
QKeyEvent withKeyAscii(const QKeyEvent *event, qint16 keyAscii);

// The platform's key code for a key (letters and digits as their upper-case ASCII codes, F1 to
// F12 as 112 to 123) and the modifier state (1 Shift, 2 Ctrl, 4 Alt).
qint16 keyCodeOf(const QKeyEvent *event);
qint16 shiftStateOf(Qt::KeyboardModifiers modifiers);

} // namespace forms
