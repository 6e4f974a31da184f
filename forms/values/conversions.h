#pragma once

#include "colors.h"
#include "stdfont.h"
#include "stdpicture.h"

#include <QMetaType>
#include <QVariant>

namespace forms {

// Conversions of a stored or typed value to the type of its destination. Text converts through
// the locale's number rules; a value that cannot be converted raises a type mismatch (13), a
// number that does not fit the destination an overflow (6). Booleans are True (-1) or False (0);
// fractions round half to even.
qint16 toInteger(const QVariant &value);
qint32 toLong(const QVariant &value);
OleColor toColor(const QVariant &value);
bool toBoolean(const QVariant &value);
QString toText(const QVariant &value);
StdFont toFont(const QVariant &value);
StdPicture toPicture(const QVariant &value);

// Whether a value is a number or a Boolean, as opposed to text, a font or a picture.
bool holdsNumber(const QVariant &value);

// Converts a value for a property of the given type, as a property assignment by name does.
QVariant convertTo(const QVariant &value, QMetaType type);

// The Boolean as a 16-bit value: True is -1.
constexpr qint16 booleanValue(bool value)
{
    return value ? -1 : 0;
}

} // namespace forms
