// Locale-aware number text: any UTF-8 text under C, English, German and French rules.
//  - isNumeric agrees with toDouble, and toDouble never gives an infinite or NaN value;
//  - the value agrees with an independent reading: the same grammar checked here by hand and
//    the digits converted by strtod, correctly rounded, 0 or subnormal below a double's range;
//  - numberToText of the value reads back as the same number to 15 significant digits; so does
//    that of the double whose bits are the input's first eight bytes, when it is finite.

#include "numbertext.h"

#include <QLocale>
#include <QString>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace {

struct Rules
{
    QLocale locale;
    QString decimal, group, minus, plus;
    bool spaceGrouping;
};

Rules rulesOf(const QLocale &locale)
{
    const QString group = locale.groupSeparator();
    const bool spaceGrouping =
        group.size() == 1 && (group[0].isSpace() || group[0] == QChar(0x202F));
    return {
        locale,       locale.decimalPoint(), group, locale.negativeSign(), locale.positiveSign(),
        spaceGrouping};
}

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

bool isDigit(QStringView text, qsizetype at)
{
    return at < text.size() && text[at] >= u'0' && text[at] <= u'9';
}

// The value the number rules give for the text, read without the code under test: the grammar
// walked by hand into plain ASCII, the ASCII converted by strtod. Nothing when it is no number.
std::optional<double> reference(QStringView text, const Rules &rules)
{
    qsizetype at = 0, end = text.size();
    while (at < end && isBlank(text[at]))
        ++at;
    while (end > at && isBlank(text[end - 1]))
        --end;
    text = text.mid(at, end - at);
    at = 0;
    std::string ascii;
    const auto takeSign = [&] {
        const QStringView rest = text.mid(at);
        if (rest.startsWith(u'-') || (!rules.minus.isEmpty() && rest.startsWith(rules.minus))) {
            at += rest.startsWith(u'-') ? 1 : rules.minus.size();
            ascii += '-';
        } else if (rest.startsWith(u'+')) {
            ++at;
        } else if (!rules.plus.isEmpty() && rest.startsWith(rules.plus)) {
            at += rules.plus.size();
        }
    };
    const auto groupLength = [&]() -> qsizetype {
        const QStringView rest = text.mid(at);
        if (!rules.group.isEmpty() && rest.startsWith(rules.group))
            return rules.group.size();
        if (rules.spaceGrouping && (rest.startsWith(u' ') || rest.startsWith(QChar(0xA0))))
            return 1;
        return 0;
    };
    takeSign();
    int digits = 0;
    // The digits between group separators: every locale fuzzed here groups by three, so with
    // separators the first group holds one to three digits and each after it three.
    std::vector<int> groups{0};
    while (isDigit(text, at)) {
        while (isDigit(text, at)) {
            ascii += char(text[at++].unicode());
            ++digits;
            ++groups.back();
        }
        const qsizetype group = groupLength();
        if (group > 0 && isDigit(text, at + group)) {
            at += group;
            groups.push_back(0);
        }
    }
    if (groups.size() > 1 && (groups.front() > 3 || std::any_of(groups.begin() + 1, groups.end(),
                                                                [](int g) { return g != 3; })))
        return std::nullopt;
    if (!rules.decimal.isEmpty() && text.mid(at).startsWith(rules.decimal)) {
        at += rules.decimal.size();
        ascii += '.';
        while (isDigit(text, at)) {
            ascii += char(text[at++].unicode());
            ++digits;
        }
    }
    if (digits == 0)
        return std::nullopt;
    if (at < text.size() && (text[at] == u'e' || text[at] == u'E')) {
        ++at;
        ascii += 'e';
        takeSign();
        if (!isDigit(text, at))
            return std::nullopt;
        while (isDigit(text, at))
            ascii += char(text[at++].unicode());
    }
    if (at != text.size())
        return std::nullopt;
    errno = 0;
    char *stop = nullptr;
    const double value = std::strtod(ascii.c_str(), &stop);
    if (stop != ascii.c_str() + ascii.size() || std::isinf(value))
        return std::nullopt;
    return value;
}

bool sameDouble(double a, double b)
{
    return a == b && std::signbit(a) == std::signbit(b);
}

[[noreturn]] void fail(const char *what, const QString &text, const Rules &rules)
{
    std::fprintf(stderr, "%s\nlocale: %s\ntext: \"%s\"\n", what, qPrintable(rules.locale.name()),
                 text.toUtf8().constData());
    std::abort();
}

void checkReadsBack(double value, const QString &text, const Rules &rules)
{
    const QString shown = forms::numberToText(value, rules.locale);
    const std::optional<double> back = forms::toDouble(shown, rules.locale);
    if (!back)
        fail(qPrintable(QStringLiteral("the text \"%1\" of %2 does not read back")
                            .arg(shown)
                            .arg(value, 0, 'g', 17)),
             text, rules);
    if (*back != value && forms::numberToText(*back, rules.locale) != shown)
        fail(qPrintable(QStringLiteral("the text \"%1\" of %2 reads back as %3, shown as \"%4\"")
                            .arg(shown)
                            .arg(value, 0, 'g', 17)
                            .arg(*back, 0, 'g', 17)
                            .arg(forms::numberToText(*back, rules.locale))),
             text, rules);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const Rules locales[] = {
        rulesOf(QLocale::c()),
        rulesOf(QLocale(QLocale::English, QLocale::UnitedStates)),
        rulesOf(QLocale(QLocale::German, QLocale::Germany)),
        rulesOf(QLocale(QLocale::French, QLocale::France)),
    };
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    for (const Rules &rules : locales) {
        const std::optional<double> value = forms::toDouble(text, rules.locale);
        if (forms::isNumeric(text, rules.locale) != value.has_value())
            fail("isNumeric and toDouble disagree", text, rules);
        const std::optional<double> expected = reference(text, rules);
        if (value.has_value() != expected.has_value())
            fail(value ? "a number that the rules refuse" : "not a number, but the rules accept it",
                 text, rules);
        if (!value)
            continue;
        if (!std::isfinite(*value))
            fail("a number that is not finite", text, rules);
        if (!sameDouble(*value, *expected))
            fail(qPrintable(QStringLiteral("read as %1, correctly rounded it is %2")
                                .arg(*value, 0, 'g', 17)
                                .arg(*expected, 0, 'g', 17)),
                 text, rules);
        checkReadsBack(*value, text, rules);
    }
    double bits = 0;
    if (size >= sizeof bits) {
        std::memcpy(&bits, data, sizeof bits);
        if (std::isfinite(bits)) {
            for (const Rules &rules : locales)
                checkReadsBack(bits, text, rules);
        }
    }
    return 0;
}
