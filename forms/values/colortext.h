#pragma once

#include "colors.h"

#include <QString>
#include <QStringList>

namespace forms {

// The desktop colours' names, by their index.
QStringList systemColorNames();
// The name of a desktop colour (a system colour value, index 0 to 24); empty for any other value.
QString systemColorName(OleColor value);

// A colour value as text: the desktop colour's name, or &H00BBGGRR&.
QString colorText(OleColor value);
// Reads a colour typed as a desktop colour's name (in any case), &H…&, 0x… or a decimal number;
// any other text is a type mismatch (RuntimeError 13).
OleColor colorFromText(const QString &text);

} // namespace forms
