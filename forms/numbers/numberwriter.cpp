#include "numbersymbols.h"
#include "numbertext.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <system_error>

namespace forms {

namespace {

// The 15 significant digits of a magnitude from 1E-13 up to 1E+15, from one product in extended
// precision: its error is far below what could move the rounding, unless the product lies right
// at a tie, which is left to the exact conversion. False when not sure or out of that range.
bool roundTo15Digits(double magnitude, std::uint64_t &digits, int &exponent)
{
    if constexpr (std::numeric_limits<long double>::digits < 64) {
        return false;
    } else {
        static constexpr long double PowersOfTen[] = {
            1e0L,  1e1L,  1e2L,  1e3L,  1e4L,  1e5L,  1e6L,  1e7L,  1e8L,  1e9L,
            1e10L, 1e11L, 1e12L, 1e13L, 1e14L, 1e15L, 1e16L, 1e17L, 1e18L, 1e19L,
            1e20L, 1e21L, 1e22L, 1e23L, 1e24L, 1e25L, 1e26L, 1e27L};
        if (!(magnitude >= 1e-13 && magnitude < 1e15))
            return false;
        // The binary exponent puts the decimal one within one of the truth; the loop settles it.
        // The magnitude is a normal number here, so its exponent field is the exponent.
        const int binary = int((std::bit_cast<std::uint64_t>(magnitude) >> 52) & 0x7ff) - 1022;
        int e = ((binary - 1) * 78913) >> 18;
        for (int attempt = 0; attempt < 3; ++attempt) {
            const int k = 14 - e;
            if (k < 0 || k > 27)
                return false;
            const long double scaled = static_cast<long double>(magnitude) * PowersOfTen[k];
            if (scaled < 1e14L) {
                --e;
                continue;
            }
            if (scaled >= 1e15L) {
                ++e;
                continue;
            }
            const std::uint64_t whole = std::uint64_t(scaled);
            const long double fraction = scaled - static_cast<long double>(whole);
            if (std::fabs(fraction - 0.5L) < 1e-3L)
                return false;
            digits = whole + (fraction > 0.5L ? 1 : 0);
            exponent = e;
            if (digits == 1000000000000000ull) {
                digits = 100000000000000ull;
                ++exponent;
            }
            return true;
        }
        return false;
    }
}

// Writing a number takes two steps, each forced inline into formatNumber: called apart, they cost
// some 50 instructions more a number (callgrind), a twentieth of the whole.

// A number's significant digits, trailing zeros dropped, and the decimal exponent of the first.
struct SignificantDigits
{
    char digits[16];
    int count = 0;
    int exponent = 0;
};

// The 15 significant digits of a finite, non-zero magnitude.
[[gnu::always_inline]] inline SignificantDigits significantDigits(double magnitude)
{
    SignificantDigits s;
    std::uint64_t rounded = 0;
    if (roundTo15Digits(magnitude, rounded, s.exponent)) {
        s.count = 15;
        // Two digits at a time: the divisions are most of the writing.
        static constexpr char Pairs[] = "00010203040506070809101112131415161718192021222324"
                                        "25262728293031323334353637383940414243444546474849"
                                        "50515253545556575859606162636465666768697071727374"
                                        "75767778798081828384858687888990919293949596979899";
        for (int i = s.count - 1; i > 0; i -= 2, rounded /= 100) {
            const char *pair = Pairs + 2 * (rounded % 100);
            s.digits[i - 1] = pair[0];
            s.digits[i] = pair[1];
        }
        s.digits[0] = char('0' + rounded);
    } else {
        // The few largest doubles would round up past the largest double, to a text that no
        // longer reads as a number; they keep the largest 15 digits that do.
        constexpr double LargestReadable = 1.79769313486231e308;
        char scientific[64];
        const char *end =
            std::to_chars(scientific, scientific + sizeof scientific,
                          std::min(magnitude, LargestReadable), std::chars_format::scientific, 14)
                .ptr;
        const char *e = std::find(static_cast<const char *>(scientific), end, 'e');
        s.digits[s.count++] = scientific[0];
        for (const char *digit = scientific + 2; digit < e && s.count < 16; ++digit)
            s.digits[s.count++] = *digit;
        std::from_chars(e + (e[1] == '+' ? 2 : 1), end, s.exponent);
    }
    while (s.count > 1 && s.digits[s.count - 1] == '0')
        --s.count;
    return s;
}

// The digits written out, in exponent form outside 0.0001 to 1E+15; composed in place and made a
// string once.
[[gnu::always_inline]] inline QString composeNumber(bool negative, const SignificantDigits &s,
                                                    QStringView point)
{
    char16_t text[96];
    int length = 0;
    const auto append = [&](QStringView part) {
        for (QChar c : part.first(std::min<qsizetype>(part.size(), 8)))
            text[length++] = c.unicode();
    };
    const auto appendDigits = [&](int from, int to) {
        for (int i = from; i < to; ++i)
            text[length++] = char16_t(s.digits[i]);
    };
    const auto appendZeros = [&](int count) {
        for (int i = 0; i < count; ++i)
            text[length++] = u'0';
    };
    const int count = s.count, exponent = s.exponent;
    if (negative)
        text[length++] = u'-';
    if (exponent >= 15 || exponent < -4) {
        appendDigits(0, 1);
        if (count > 1) {
            append(point);
            appendDigits(1, count);
        }
        text[length++] = u'E';
        text[length++] = exponent < 0 ? u'-' : u'+';
        char magnitude[8];
        const char *last =
            std::to_chars(magnitude, magnitude + sizeof magnitude, std::abs(exponent)).ptr;
        if (last - magnitude < 2)
            text[length++] = u'0';
        for (const char *digit = magnitude; digit < last; ++digit)
            text[length++] = char16_t(*digit);
    } else if (exponent < 0) {
        text[length++] = u'0';
        append(point);
        appendZeros(-exponent - 1);
        appendDigits(0, count);
    } else if (count <= exponent + 1) {
        appendDigits(0, count);
        appendZeros(exponent + 1 - count);
    } else {
        appendDigits(0, exponent + 1);
        append(point);
        appendDigits(exponent + 1, count);
    }
    return QString(reinterpret_cast<const QChar *>(text), length);
}

// The value rounded to 15 significant digits and written with this decimal separator.
QString formatNumber(double value, QStringView point)
{
    if (std::isnan(value))
        return QStringLiteral("NaN");
    if (std::isinf(value))
        return value < 0 ? QStringLiteral("-Infinity") : QStringLiteral("Infinity");
    if (value == 0)
        return QStringLiteral("0");
    return composeNumber(value < 0, significantDigits(std::fabs(value)), point);
}

// In a locale with digits of its own, a number is written in them, as the locale writes numbers.
QString inLocaleDigits(QString text, const NumberSymbols &symbols)
{
    if (symbols.zero.size() != 1 || symbols.zero[0] == u'0')
        return text;
    QString written;
    written.reserve(text.size() + symbols.minus.size());
    for (QChar c : std::as_const(text)) {
        if (c >= u'0' && c <= u'9')
            written += QChar(symbols.zero[0].unicode() + (c.unicode() - u'0'));
        else if (c == u'-')
            written += symbols.minus;
        else
            written += c;
    }
    return written;
}

} // namespace

QString numberToText(double value, const QLocale &locale)
{
    const NumberSymbols symbols(locale);
    return inLocaleDigits(formatNumber(value, symbols.decimal), symbols);
}

QString numberToText(double value)
{
    const NumberSymbols &symbols = currentUserSymbols();
    return inLocaleDigits(formatNumber(value, symbols.decimal), symbols);
}

} // namespace forms
