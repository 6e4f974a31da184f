#include "numbersymbols.h"
#include "numbertext.h"

#include <QVarLengthArray>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>
#include <system_error>

namespace forms {

namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
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

} // namespace

std::optional<double> toDouble(QStringView text, const QLocale &locale)
{
    return NumberScanner(text, NumberSymbols(locale)).scan();
}

bool isNumeric(QStringView text, const QLocale &locale)
{
    return toDouble(text, locale).has_value();
}

std::optional<double> toDouble(QStringView text)
{
    return NumberScanner(text, currentUserSymbols()).scan();
}

bool isNumeric(QStringView text)
{
    return toDouble(text).has_value();
}

} // namespace forms
