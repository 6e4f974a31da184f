#pragma once

#include <QLocale>
#include <QString>
#include <QStringView>

#include <optional>

namespace forms {

// The value of a text that is a number in the given locale, or nothing. The whole text must be:
// optional blanks, an optional sign, digits with the locale's group separator allowed between
// digits, an optional decimal separator with further digits (at least one digit in all), an
// optional exponent (E or e, an optional sign, digits), optional blanks. Words such as inf or nan,
// hexadecimal forms, and numbers outside a double's range are not numbers; a number too small
// for a double becomes 0 or a subnormal value. The digits are converted correctly rounded.
std::optional<double> toDouble(QStringView text, const QLocale &locale);

// True when toDouble accepts the text.
bool isNumeric(QStringView text, const QLocale &locale);

// A number as a person reads it: rounded to 15 significant digits, trailing zeros dropped, no
// digit grouping, the locale's decimal separator, a minus sign for negative values. Magnitudes of
// 1E+15 and above, and below 1E-4, are written in exponent form: mantissa, "E", sign and at
// least two exponent digits ("1E+15", "5.6789E-12"). Zero of either sign is "0"; infinite values
// are "Infinity" and "-Infinity", and a value that is not a number is "NaN".
QString numberToText(double value, const QLocale &locale);

// The same in the user's locale (QLocale(): the system's unless the program chose another). Its
// symbols are taken once and again whenever the application hears of a locale change
// (QEvent::LocaleChange), so a change of the desktop's settings takes effect at once.
std::optional<double> toDouble(QStringView text);
bool isNumeric(QStringView text);
QString numberToText(double value);

} // namespace forms
