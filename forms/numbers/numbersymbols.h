#pragma once

#include <QLocale>
#include <QString>

#include <optional>
#include <utility>

namespace forms {

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

// The user's locale's symbols (QLocale(): the system's unless the program chose another).
const NumberSymbols &currentUserSymbols();

} // namespace forms
