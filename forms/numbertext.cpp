#include "numbertext.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPointer>
#include <QVarLengthArray>

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

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

// The symbols of a locale that numbers are written with.
struct NumberSymbols
{
    explicit NumberSymbols(const QLocale &locale)
        : decimal(locale.decimalPoint()), group(locale.groupSeparator()),
          minus(locale.negativeSign()), plus(locale.positiveSign()), zero(locale.zeroDigit()),
          m_locale(locale)
    {}

    // How many digits the group next to the decimal separator holds, and the groups before it
    // (3 and 3 in most locales, 3 and 2 in Indian ones), as the locale writes a large number.
    // Found the first time a text has a group separator.
    std::pair<int, int> groupSizes() const
    {
        if (!m_groupSizes) {
            QList<int> runs{0};
            for (QChar c : m_locale.toString(qlonglong(1234567890))) {
                const bool digit = (c >= u'0' && c <= u'9') ||
                                   (zero.size() == 1 && c.unicode() - zero[0].unicode() >= 0 &&
                                    c.unicode() - zero[0].unicode() <= 9);
                if (digit)
                    ++runs.last();
                else if (runs.last() > 0)
                    runs.append(0);
            }
            const int primary = runs.size() >= 2 ? runs.last() : 3;
            const int secondary = runs.size() >= 3 ? runs[runs.size() - 2] : primary;
            m_groupSizes = {primary, secondary};
        }
        return *m_groupSizes;
    }

    QString decimal;
    QString group;
    QString minus;
    QString plus;
    QString zero;

private:
    QLocale m_locale;
    mutable std::optional<std::pair<int, int>> m_groupSizes;
};

// Looking the user's locale up costs more than converting a number, so its symbols are kept
// until the application hears that the locale changed.
std::optional<NumberSymbols> userSymbols;

class LocaleWatcher : public QObject
{
public:
    using QObject::QObject;

    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::LocaleChange)
            userSymbols.reset();
        return false;
    }
};

QPointer<LocaleWatcher> localeWatcher;

const NumberSymbols &currentUserSymbols()
{
    if (!localeWatcher && QCoreApplication::instance()) {
        localeWatcher = new LocaleWatcher(QCoreApplication::instance());
        QCoreApplication::instance()->installEventFilter(localeWatcher);
        userSymbols.reset();
    }
    if (!userSymbols)
        userSymbols.emplace(QLocale());
    return *userSymbols;
}

// A scanner over one text; each step consumes what it recognises and appends its plain ASCII form.
class NumberScanner
{
public:
    NumberScanner(QStringView text, const NumberSymbols &symbols)
        : m_symbols(symbols), m_text(text), m_decimal(symbols.decimal), m_group(symbols.group),
          m_minus(symbols.minus), m_plus(symbols.plus), m_zero(symbols.zero)
    {}

    std::optional<double> scan()
    {
        skipBlanks();
        scanSign();
        const int mantissaDigits = scanDigits(true);
        // "12,5" meant as twelve and a half must not be read as 125.
        if (!wellGrouped())
            return std::nullopt;
        int fractionDigits = 0;
        if (take(m_decimal)) {
            m_ascii += '.';
            fractionDigits = scanDigits(false);
        }
        if (mantissaDigits + fractionDigits == 0)
            return std::nullopt;
        if (!scanExponent())
            return std::nullopt;
        skipBlanks();
        if (m_pos != m_text.size())
            return std::nullopt;
        return convert();
    }

private:
    void skipBlanks()
    {
        while (m_pos < m_text.size() && isBlank(m_text[m_pos]))
            ++m_pos;
    }

    // Compared in place: a symbol is a character or two, too short for a library call to pay.
    bool startsHere(QStringView token) const
    {
        return !token.isEmpty() && m_text.size() - m_pos >= token.size() &&
               std::equal(token.begin(), token.end(), m_text.begin() + m_pos);
    }

    bool take(QStringView token)
    {
        if (!startsHere(token))
            return false;
        m_pos += token.size();
        return true;
    }

    void scanSign()
    {
        if (take(u"-") || take(m_minus))
            m_ascii += '-';
        else if (!take(u"+"))
            take(m_plus);
    }

    // The ASCII digit for c, or -1. The locale's own digits count as well as ASCII ones.
    int digitValue(QChar c) const
    {
        if (c >= u'0' && c <= u'9')
            return c.unicode() - u'0';
        if (m_zero.size() == 1) {
            const int offset = c.unicode() - m_zero.at(0).unicode();
            if (offset >= 0 && offset <= 9)
                return offset;
        }
        return -1;
    }

    // Digits, with group separators between two digits when allowed; returns how many digits.
    int scanDigits(bool allowGroups)
    {
        int count = 0;
        while (m_pos < m_text.size()) {
            const int digit = digitValue(m_text[m_pos]);
            if (digit >= 0) {
                m_ascii += char('0' + digit);
                ++m_pos;
                ++count;
                continue;
            }
            const qsizetype separator = allowGroups && count > 0 ? groupSeparatorLength() : 0;
            if (separator == 0 || m_pos + separator >= m_text.size() ||
                digitValue(m_text[m_pos + separator]) < 0)
                break;
            m_pos += separator;
            m_groups.append(count - m_groupedDigits);
            m_groupedDigits = count;
        }
        if (allowGroups && !m_groups.isEmpty())
            m_groups.append(count - m_groupedDigits);
        return count;
    }

    // Group separators stand only where the locale puts them: the group before the decimal
    // separator is full, the ones before it too, and the first holds one digit up to a full group.
    bool wellGrouped() const
    {
        if (m_groups.isEmpty())
            return true;
        const auto [primary, secondary] = m_symbols.groupSizes();
        if (m_groups.last() != primary)
            return false;
        for (qsizetype i = 1; i + 1 < m_groups.size(); ++i) {
            if (m_groups[i] != secondary)
                return false;
        }
        return m_groups.size() < 2 || (m_groups.first() >= 1 && m_groups.first() <= secondary);
    }

    // Length of a group separator at the current position. Where the locale groups with a
    // (no-break) space, an ordinary space typed by the user serves too.
    qsizetype groupSeparatorLength() const
    {
        if (startsHere(m_group))
            return m_group.size();
        const bool spaceGrouping =
            m_group.size() == 1 && (m_group[0].isSpace() || m_group[0] == QChar(0x202F));
        if (spaceGrouping && m_pos < m_text.size() &&
            (m_text[m_pos] == u' ' || m_text[m_pos] == QChar(0xA0)))
            return 1;
        return 0;
    }

    bool scanExponent()
    {
        if (m_pos >= m_text.size() || (m_text[m_pos] != u'E' && m_text[m_pos] != u'e'))
            return true;
        ++m_pos;
        m_ascii += 'e';
        scanSign();
        return scanDigits(false) > 0;
    }

    std::optional<double> convert() const
    {
        double value = 0;
        const char *first = m_ascii.data();
        const char *last = first + m_ascii.size();
        const auto [end, error] = std::from_chars(first, last, value);
        if (end != last)
            return std::nullopt;
        if (error == std::errc::result_out_of_range) {
            // Too small for a double is zero; too large is not a number at all.
            if (tooLarge())
                return std::nullopt;
            return m_ascii.front() == '-' ? -0.0 : 0.0;
        }
        if (error != std::errc() || std::isinf(value))
            return std::nullopt;
        return value;
    }

    // Whether an out-of-range number is too large rather than too small: the decimal position of
    // its first significant digit decides.
    bool tooLarge() const
    {
        const std::size_t ePos = m_ascii.find('e');
        const std::string mantissa = m_ascii.substr(0, ePos);
        long long exponent = 0;
        if (ePos != std::string::npos) {
            const char *first = m_ascii.data() + ePos + 1;
            const char *last = m_ascii.data() + m_ascii.size();
            if (*first == '+')
                ++first;
            if (std::from_chars(first, last, exponent).ec == std::errc::result_out_of_range)
                return *first != '-';
        }
        const std::size_t point = mantissa.find('.');
        const std::size_t firstDigit = mantissa.find_first_of("123456789");
        if (firstDigit == std::string::npos)
            return false;
        const long long integerEnd =
            point == std::string::npos ? (long long)mantissa.size() : (long long)point;
        const long long position =
            integerEnd - (long long)firstDigit + (firstDigit > std::size_t(integerEnd) ? 1 : 0);
        return exponent + position > 0;
    }

    const NumberSymbols &m_symbols;
    QStringView m_text;
    QStringView m_decimal;
    QStringView m_group;
    QStringView m_minus;
    QStringView m_plus;
    QStringView m_zero;
    qsizetype m_pos = 0;
    std::string m_ascii;
    // The digits of each group of the integer part, where it has group separators.
    QVarLengthArray<int, 8> m_groups;
    int m_groupedDigits = 0;
};

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

} // namespace

std::optional<double> toDouble(QStringView text, const QLocale &locale)
{
    return NumberScanner(text, NumberSymbols(locale)).scan();
}

bool isNumeric(QStringView text, const QLocale &locale)
{
    return toDouble(text, locale).has_value();
}

namespace {

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

std::optional<double> toDouble(QStringView text)
{
    return NumberScanner(text, currentUserSymbols()).scan();
}

bool isNumeric(QStringView text)
{
    return toDouble(text).has_value();
}

QString numberToText(double value)
{
    const NumberSymbols &symbols = currentUserSymbols();
    return inLocaleDigits(formatNumber(value, symbols.decimal), symbols);
}

} // namespace forms
