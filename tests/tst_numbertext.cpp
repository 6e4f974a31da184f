#include "numbertext.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTest>

#include <charconv>
#include <cmath>
#include <limits>
#include <random>

using forms::numberToText;
using forms::toDouble;

class tst_NumberText : public QObject
{
    Q_OBJECT

private slots:
    void numeric_data();
    void numeric();
    void notNumeric_data();
    void notNumeric();
    void text_data();
    void text();
    void roundTripsTo15Digits();
    void roundsCorrectly_data();
    void roundsCorrectly();
    void followsLocaleChange_data();
    void followsLocaleChange();
};

static const QLocale english(QLocale::English, QLocale::UnitedStates);
static const QLocale german(QLocale::German, QLocale::Germany);
// Signs of two characters (a direction mark before the sign), and digits of its own.
static const QLocale persian(QLocale::Persian, QLocale::Iran);
static const QLocale indian(QLocale::Hindi, QLocale::India);
static const QLocale french(QLocale::French, QLocale::France);
static const QLocale arabic(QLocale::Arabic, QLocale::Egypt);

void tst_NumberText::numeric_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    QTest::newRow("integer") << english << "10" << 10.0;
    QTest::newRow("blanks around") << english << "  -3.5\t" << -3.5;
    QTest::newRow("plus sign") << english << "+7" << 7.0;
    QTest::newRow("groups") << english << "1,234,567.25" << 1234567.25;
    QTest::newRow("leading point") << english << ".5" << 0.5;
    QTest::newRow("trailing point") << english << "5." << 5.0;
    QTest::newRow("exponent") << english << "1E200" << 1e200;
    QTest::newRow("small exponent") << english << "2.5e-3" << 0.0025;
    QTest::newRow("exponent sign") << english << "3E+2" << 300.0;
    QTest::newRow("underflow is zero") << english << "1E-400" << 0.0;
    QTest::newRow("subnormal") << english << "5E-324" << 5e-324;
    QTest::newRow("correctly rounded") << english << "0.1" << 0.1;
    QTest::newRow("comma decimal") << german << "1.234,5" << 1234.5;
    QTest::newRow("comma alone") << german << "0,25" << 0.25;
    QTest::newRow("two-character minus")
        << persian << QStringLiteral("\u200E\u2212\u06F1\u066B\u06F5") << -1.5;
    QTest::newRow("two-character plus") << persian << QStringLiteral("\u200E+\u06F7") << 7.0;
    // Group separators where the locale puts them.
    QTest::newRow("one group") << english << "1,000" << 1000.0;
    QTest::newRow("groups and a fraction") << english << "12,345.5" << 12345.5;
    QTest::newRow("Indian groups") << indian << "1,00,000.5" << 100000.5;
    QTest::newRow("Indian thousands") << indian << "12,345" << 12345.0;
    QTest::newRow("French plain space") << french << "1 000,5" << 1000.5;
    QTest::newRow("French narrow space") << french << QStringLiteral("1\u202F000,5") << 1000.5;
    QTest::newRow("German groups") << german << "12.345,5" << 12345.5;
    QTest::newRow("Arabic digits") << arabic << QStringLiteral("\u0667\u066B\u0665") << 7.5;
    QTest::newRow("Arabic digits grouped")
        << arabic << QStringLiteral("\u0661\u066C\u0660\u0660\u0660") << 1000.0;
}

void tst_NumberText::numeric()
{
    QFETCH(QLocale, locale);
    QFETCH(QString, text);
    QFETCH(double, value);
    const auto result = toDouble(text, locale);
    QVERIFY2(result.has_value(), qPrintable(text));
    QCOMPARE(*result, value);
}

void tst_NumberText::notNumeric_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << english << "";
    QTest::newRow("blanks") << english << "   ";
    QTest::newRow("letters") << english << "abc";
    QTest::newRow("stray letter") << english << "12x";
    QTest::newRow("sign only") << english << "-";
    QTest::newRow("point only") << english << ".";
    QTest::newRow("two points") << english << "1.2.3";
    QTest::newRow("group first") << english << ",5";
    QTest::newRow("group last") << english << "5,";
    QTest::newRow("group in fraction") << english << "1.2,3";
    QTest::newRow("exponent without digits") << english << "1E";
    QTest::newRow("overflow") << english << "1E309";
    QTest::newRow("huge exponent") << english << "1E99999999999999999999";
    QTest::newRow("inf") << english << "inf";
    QTest::newRow("infinity") << english << "Infinity";
    QTest::newRow("nan") << english << "nan";
    QTest::newRow("hex") << english << "0x10";
    QTest::newRow("inner blank") << english << "1 2";
    QTest::newRow("point in decimal-comma locale") << german << "1,2.5";
    QTest::newRow("half a two-character sign") << persian << QStringLiteral("\u200E\u06F5");
    QTest::newRow("first character of a sign only") << persian << QStringLiteral("\u200E");
    // A decimal separator mistyped as a group separator would read 10 or 100 times too large.
    QTest::newRow("comma for a point") << english << "12,5";
    QTest::newRow("comma for a point, below one") << english << "0,75";
    QTest::newRow("single-digit groups") << english << "1,2,5";
    QTest::newRow("single-digit groups of zeros") << english << "1,0,0";
    QTest::newRow("a long first group") << english << "1234,567";
    QTest::newRow("a long last group") << english << "1,2345";
    QTest::newRow("point for a comma") << german << "12.5";
    QTest::newRow("point for a comma, below one") << german << "0.75";
    QTest::newRow("Indian single digits") << indian << "1,2,5";
    QTest::newRow("Western groups in India") << indian << "100,000";
    QTest::newRow("group in exponent") << english << "1E1,000";
    QTest::newRow("Arabic group for a decimal") << arabic << QStringLiteral("\u0661\u066C\u0665");
}

void tst_NumberText::notNumeric()
{
    QFETCH(QLocale, locale);
    QFETCH(QString, text);
    QVERIFY2(!toDouble(text, locale).has_value(), qPrintable(text));
}

void tst_NumberText::text_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("integer") << english << 90.0 << "90";
    QTest::newRow("third") << english << 10.0 / 3.0 << "3.33333333333333";
    QTest::newRow("two thirds") << english << 10.0 - 10.0 / 3.0 << "6.66666666666667";
    QTest::newRow("negative") << english << -2.5 << "-2.5";
    QTest::newRow("negative zero") << english << -0.0 << "0";
    QTest::newRow("largest plain") << english << 999999999999999.0 << "999999999999999";
    QTest::newRow("1E15") << english << 1e15 << "1E+15";
    QTest::newRow("rounds up to exponent") << english << 9999999999999999.0 << "1E+16";
    QTest::newRow("small exponent") << english << 5.6789e-12 << "5.6789E-12";
    QTest::newRow("switch point stays plain") << english << 0.0001 << "0.0001";
    QTest::newRow("below switch point") << english << 0.00009 << "9E-05";
    QTest::newRow("three digit exponent") << english << 1.5e300 << "1.5E+300";
    QTest::newRow("subnormal") << english << 5e-324 << "4.94065645841247E-324";
    // Rounded up, the largest doubles would show a number beyond a double's range.
    QTest::newRow("largest double")
        << english << std::numeric_limits<double>::max() << "1.79769313486231E+308";
    QTest::newRow("largest negative double")
        << german << -std::numeric_limits<double>::max() << "-1,79769313486231E+308";
    QTest::newRow("below the largest double")
        << english << std::nextafter(std::numeric_limits<double>::max(), 0.0)
        << "1.79769313486231E+308";
    QTest::newRow("largest that rounds down")
        << english << 1.797693134862314e308 << "1.79769313486231E+308";
    QTest::newRow("infinite") << english << std::numeric_limits<double>::infinity() << "Infinity";
    QTest::newRow("negative infinite")
        << english << -std::numeric_limits<double>::infinity() << "-Infinity";
    QTest::newRow("no grouping") << english << 1234567.5 << "1234567.5";
    QTest::newRow("decimal comma") << german << 1234.5 << "1234,5";
    QTest::newRow("decimal comma exponent") << german << 1.25e20 << "1,25E+20";
    // In the locale's own digits, as the locale writes numbers.
    QTest::newRow("Arabic digits") << arabic << 7.5 << QStringLiteral("\u0667\u066B\u0665");
    QTest::newRow("Persian digits and minus")
        << persian << -1.5 << QStringLiteral("\u200E\u2212\u06F1\u066B\u06F5");
    QTest::newRow("Arabic digits with an exponent")
        << arabic << 2.5e-12
        << QStringLiteral("\u0662\u066B\u0665E") + arabic.negativeSign() +
               QStringLiteral("\u0661\u0662");
}

void tst_NumberText::text()
{
    QFETCH(QLocale, locale);
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(numberToText(value, locale), text);
    // What is shown reads back as a number in the same locale, its own digits and signs too.
    if (std::isfinite(value))
        QVERIFY2(toDouble(text, locale).has_value(), qPrintable(text));
}

// What is shown can be typed back in and means the same number to 15 digits.
void tst_NumberText::roundTripsTo15Digits()
{
    const double values[] = {1.0 / 7.0,
                             123456.789012345,
                             -9.87654321e-7,
                             6.02214076e23,
                             1e-300,
                             std::numeric_limits<double>::max(),
                             -std::numeric_limits<double>::max(),
                             std::nextafter(std::numeric_limits<double>::max(), 0.0),
                             std::numeric_limits<double>::denorm_min()};
    for (const QLocale &locale : {english, german}) {
        for (double value : values) {
            const auto back = toDouble(numberToText(value, locale), locale);
            QVERIFY(back.has_value());
            QVERIFY2(std::fabs(*back - value) <= std::fabs(value) * 5e-15,
                     qPrintable(numberToText(value, locale)));
        }
    }
}

void tst_NumberText::roundsCorrectly_data()
{
    QTest::addColumn<int>("kind");
    QTest::newRow("any magnitude") << 0;
    QTest::newRow("halfway in the 16th digit") << 1;
    QTest::newRow("whole numbers") << 2;
}

// Shown with 15 significant digits, each value means exactly what the standard library's
// correctly rounded conversion to 15 digits means (an exact tie goes to the even digit), near
// rounding ties as well.
void tst_NumberText::roundsCorrectly()
{
    QFETCH(int, kind);
    std::mt19937_64 random(20261208 + kind);
    for (int i = 0; i < 20000; ++i) {
        double value = 0;
        if (kind == 0) {
            const int exponent = int(random() % 32) - 16;
            value = double(random() % 1000000000000000000ull) * 1e-18 * std::pow(10.0, exponent);
        } else if (kind == 1) {
            const double digits = double(random() % 900000000000000ull + 100000000000000ull) + 0.5;
            value = digits * std::pow(10.0, int(random() % 30) - 28);
        } else {
            value = double(random() % 10000000000000000ull);
        }
        if (random() % 2)
            value = -value;
        char digits[64];
        const char *end =
            std::to_chars(digits, digits + sizeof digits, value, std::chars_format::scientific, 14)
                .ptr;
        double reference = 0;
        std::from_chars(digits, end, reference);
        const QString shown = numberToText(value, english);
        QVERIFY2(toDouble(shown, english) == reference,
                 qPrintable(QStringLiteral("%1 shown as %2, rounds to %3")
                                .arg(value, 0, 'g', 17)
                                .arg(shown, QLatin1String(digits, end - digits))));
    }
}

void tst_NumberText::followsLocaleChange_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("foreign"); // a number in the other locale's form
    QTest::addColumn<QString>("shown");   // 1234.5 as shown
    QTest::newRow("to German") << german << "1.234,5"
                               << "1,234.5"
                               << "1234,5";
    QTest::newRow("to English") << english << "1,234.5"
                                << "1.234,5"
                                << "1234.5";
    QTest::newRow("to French") << QLocale(QLocale::French, QLocale::France)
                               << QStringLiteral("1\u202F234,5") << "1,234.5"
                               << "1234,5";
}

// The conversions without a locale follow the user's locale as it is now: after the application
// hears of a change, without a restart.
void tst_NumberText::followsLocaleChange()
{
    QFETCH(QLocale, locale);
    QFETCH(QString, typed);
    QFETCH(QString, foreign);
    QFETCH(QString, shown);
    const auto announce = [](const QLocale &now) {
        QLocale::setDefault(now);
        QEvent change(QEvent::LocaleChange);
        QCoreApplication::sendEvent(QCoreApplication::instance(), &change);
    };
    // Some locale's symbols are in use before the change.
    QCOMPARE(forms::toDouble(u"1"), 1.0);
    const QLocale before;
    announce(locale);
    const auto value = forms::toDouble(typed);
    const bool foreignIsNumeric = forms::isNumeric(foreign);
    const QString text = numberToText(1234.5);
    announce(before);
    QVERIFY2(value.has_value(), qPrintable(typed));
    QCOMPARE(*value, 1234.5);
    QVERIFY(!foreignIsNumeric);
    QCOMPARE(text, shown);
}

QTEST_GUILESS_MAIN(tst_NumberText)
#include "tst_numbertext.moc"
