#include "numbertext.h"

#include <algorithm>
#include <charconv>
#include <cmath>
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
    NumberScanner(QStringView text, const QLocale &locale)
        : m_text(text), m_decimal(locale.decimalPoint()), m_group(locale.groupSeparator()),
          m_minus(locale.negativeSign()), m_plus(locale.positiveSign()), m_zero(locale.zeroDigit())
    {}

    std::optional<double> scan()
    {
        skipBlanks();
        scanSign();
        const int mantissaDigits = scanDigits(true);
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

    bool take(QStringView token)
    {
        if (token.isEmpty() || !m_text.mid(m_pos).startsWith(token))
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
        }
        return count;
    }

    // Length of a group separator at the current position. Where the locale groups with a
    // (no-break) space, an ordinary space typed by the user serves too.
    qsizetype groupSeparatorLength() const
    {
        const QStringView rest = m_text.mid(m_pos);
        if (!m_group.isEmpty() && rest.startsWith(m_group))
            return m_group.size();
        const bool spaceGrouping =
            m_group.size() == 1 && (m_group[0].isSpace() || m_group[0] == QChar(0x202F));
        if (spaceGrouping && !rest.isEmpty() && (rest[0] == u' ' || rest[0] == QChar(0xA0)))
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

    QStringView m_text;
    QString m_decimal;
    QString m_group;
    QString m_minus;
    QString m_plus;
    QString m_zero;
    qsizetype m_pos = 0;
    std::string m_ascii;
};

QString exponentText(int exponent)
{
    QString text = exponent < 0 ? QStringLiteral("E-") : QStringLiteral("E+");
    const int magnitude = std::abs(exponent);
    if (magnitude < 10)
        text += u'0';
    return text + QString::number(magnitude);
}

} // namespace

std::optional<double> toDouble(QStringView text, const QLocale &locale)
{
    return NumberScanner(text, locale).scan();
}

bool isNumeric(QStringView text, const QLocale &locale)
{
    return toDouble(text, locale).has_value();
}

QString numberToText(double value, const QLocale &locale)
{
    if (std::isnan(value))
        return QStringLiteral("NaN");
    if (std::isinf(value))
        return value < 0 ? QStringLiteral("-Infinity") : QStringLiteral("Infinity");
    if (value == 0)
        return QStringLiteral("0");

    // The 15 significant digits and the decimal exponent of the first one. The few largest
    // doubles would round up past the largest double, to a text that no longer reads as a number;
    // they keep the largest 15 digits that do.
    constexpr double LargestReadable = 1.79769313486231e308;
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, std::min(std::fabs(value), LargestReadable),
                      std::chars_format::scientific, 14);
    const std::string scientific(buffer, result.ptr);
    const std::size_t ePos = scientific.find('e');
    std::string digits = scientific.substr(0, 1) + scientific.substr(2, ePos - 2);
    const int exponent = std::stoi(scientific.substr(ePos + 1));
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();

    const QString point = locale.decimalPoint();
    QString text = value < 0 ? QStringLiteral("-") : QString();
    const int count = int(digits.size());
    if (exponent >= 15 || exponent < -4) {
        text += QChar(digits[0]);
        if (count > 1)
            text += point + QString::fromLatin1(digits.data() + 1, count - 1);
        return text + exponentText(exponent);
    }
    if (exponent < 0) {
        text += u'0' + point + QString(-exponent - 1, u'0');
        return text + QString::fromLatin1(digits.data(), count);
    }
    const int integerDigits = exponent + 1;
    if (count <= integerDigits)
        return text + QString::fromLatin1(digits.data(), count) +
               QString(integerDigits - count, u'0');
    return text + QString::fromLatin1(digits.data(), integerDigits) + point +
           QString::fromLatin1(digits.data() + integerDigits, count - integerDigits);
}

} // namespace forms
