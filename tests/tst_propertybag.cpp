#include "colors.h"
#include "conversions.h"
#include "propertybag.h"
#include "runtimeerror.h"
#include "stdfont.h"
#include "stdpicture.h"
#include "twips.h"

#include <QApplication>
#include <QTest>

#include <functional>

using forms::OleColor;
using forms::PropertyBag;
using forms::RuntimeError;
using forms::StdFont;
using forms::StdPicture;

namespace {

StdFont fontOf(const QString &name, double size, qint16 weight = 400, bool underline = false)
{
    StdFont font;
    font.name = name;
    font.size = size;
    font.weight = weight;
    font.underline = underline;
    return font;
}

StdPicture pictureOf(QColor color, int width = 4, int height = 3)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(color);
    return StdPicture::fromImage(image);
}

QVariant colour(OleColor value)
{
    return QVariant::fromValue<quint32>(value);
}

QVariant integer(qint16 value)
{
    return QVariant::fromValue<qint16>(value);
}

// The number of the run-time error the call raises, or 0 when it raises none.
int errorOf(const std::function<void()> &call)
{
    try {
        call();
    } catch (const RuntimeError &error) {
        return error.number();
    }
    return 0;
}

} // namespace

class tst_PropertyBag : public QObject
{
    Q_OBJECT

private slots:
    void readsStoredValueOrDefault_data();
    void readsStoredValueOrDefault();
    void writeLeavesOutDefaults_data();
    void writeLeavesOutDefaults();
    void writeKeepsOrder();
    void rewriteReplacesInPlaceOrRemoves();

    void toInteger_data();
    void toInteger();
    void toColor_data();
    void toColor();
    void toBoolean_data();
    void toBoolean();
    void toText_data();
    void toText();
    void conversionErrors_data();
    void conversionErrors();
    void fontsAndPicturesConvert();
    void fontsDrawWithTheFaceTheToolkitChooses_data();
    void fontsDrawWithTheFaceTheToolkitChooses();

    void extentInHimetric_data();
    void extentInHimetric();

    void ordinaryColours_data();
    void ordinaryColours();
    void systemColoursFollowThePalette_data();
    void systemColoursFollowThePalette();
};

// ---- The bag -------------------------------------------------------------------------------

void tst_PropertyBag::readsStoredValueOrDefault_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("found");
    QTest::newRow("as written") << "ForeColor" << true;
    QTest::newRow("lower case") << "forecolor" << true;
    QTest::newRow("upper case") << "FORECOLOR" << true;
    QTest::newRow("mixed case") << "fOREcOLOR" << true;
    QTest::newRow("another name") << "BackColor" << false;
    QTest::newRow("prefix only") << "Fore" << false;
    QTest::newRow("with a blank") << "Fore Color" << false;
}

void tst_PropertyBag::readsStoredValueOrDefault()
{
    QFETCH(QString, name);
    QFETCH(bool, found);
    PropertyBag bag;
    bag.WriteProperty(QStringLiteral("ForeColor"), colour(0x000000FF),
                      colour(forms::SystemColor::ButtonText));
    const QVariant fallback = colour(0x00ABCDEF);
    QCOMPARE(bag.ReadProperty(name, fallback), found ? colour(0x000000FF) : fallback);
    QCOMPARE(bag.contains(name), found);
    if (!found)
        QVERIFY(!bag.ReadProperty(name).isValid());
}

void tst_PropertyBag::writeLeavesOutDefaults_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QVariant>("defaultValue");
    QTest::addColumn<bool>("stored");

    QTest::newRow("False, default False") << QVariant(false) << QVariant(false) << false;
    QTest::newRow("True, default False") << QVariant(true) << QVariant(false) << true;
    // A Boolean is stored as 16 bits, True being -1: it equals the integers 0 and -1.
    QTest::newRow("False, default 0") << QVariant(false) << integer(0) << false;
    QTest::newRow("True, default -1") << QVariant(true) << integer(-1) << false;
    QTest::newRow("True, default 0") << QVariant(true) << integer(0) << true;
    QTest::newRow("True, default 1") << QVariant(true) << integer(1) << true;
    QTest::newRow("16-bit equal") << integer(45) << integer(45) << false;
    QTest::newRow("16-bit differs") << integer(46) << integer(45) << true;
    QTest::newRow("16-bit and 32-bit equal") << integer(15) << QVariant(15) << false;
    QTest::newRow("colour equal") << colour(0x8000000F) << colour(0x8000000F) << false;
    // &H8000000F is one 32-bit pattern, whether read signed or unsigned.
    QTest::newRow("colour against its signed reading")
        << colour(0x8000000F) << QVariant(qint32(0x8000000F - 0x100000000LL)) << false;
    QTest::newRow("window text against button text")
        << colour(0x80000008) << colour(0x80000012) << true;
    QTest::newRow("black against default 0") << colour(0) << integer(0) << false;
    QTest::newRow("text equal") << QVariant(QStringLiteral("LumoButton"))
                                << QVariant(QStringLiteral("LumoButton")) << false;
    QTest::newRow("text differs in case only")
        << QVariant(QStringLiteral("lumobutton")) << QVariant(QStringLiteral("LumoButton")) << true;
    QTest::newRow("empty text, default empty")
        << QVariant(QString()) << QVariant(QStringLiteral("")) << false;
    QTest::newRow("font equal") << QVariant::fromValue(fontOf("Arial", 9))
                                << QVariant::fromValue(fontOf("Arial", 9)) << false;
    QTest::newRow("font differs in size") << QVariant::fromValue(fontOf("Arial", 10))
                                          << QVariant::fromValue(fontOf("Arial", 9)) << true;
    QTest::newRow("font differs in weight") << QVariant::fromValue(fontOf("Arial", 9, 700))
                                            << QVariant::fromValue(fontOf("Arial", 9)) << true;
    QTest::newRow("font differs in underline") << QVariant::fromValue(fontOf("Arial", 9, 400, true))
                                               << QVariant::fromValue(fontOf("Arial", 9)) << true;
    QTest::newRow("no picture, default none")
        << QVariant::fromValue(StdPicture()) << QVariant::fromValue(StdPicture()) << false;
    QTest::newRow("picture, default none")
        << QVariant::fromValue(pictureOf(Qt::green)) << QVariant::fromValue(StdPicture()) << true;
    QTest::newRow("same picture") << QVariant::fromValue(pictureOf(Qt::green))
                                  << QVariant::fromValue(pictureOf(Qt::green)) << false;
    QTest::newRow("other pixels") << QVariant::fromValue(pictureOf(Qt::green))
                                  << QVariant::fromValue(pictureOf(Qt::red)) << true;
    QTest::newRow("no default given") << integer(0) << QVariant() << true;
}

void tst_PropertyBag::writeLeavesOutDefaults()
{
    QFETCH(QVariant, value);
    QFETCH(QVariant, defaultValue);
    QFETCH(bool, stored);
    PropertyBag bag;
    bag.WriteProperty(QStringLiteral("Entry"), value, defaultValue);
    QCOMPARE(bag.contains(QStringLiteral("Entry")), stored);
    QCOMPARE(bag.entries().size(), stored ? 1 : 0);
    if (stored)
        QCOMPARE(bag.ReadProperty(QStringLiteral("entry")), value);
}

void tst_PropertyBag::writeKeepsOrder()
{
    PropertyBag bag;
    const QStringList names = {"Zeta", "Alpha", "Mu", "Beta"};
    for (qsizetype i = 0; i < names.size(); ++i)
        bag.WriteProperty(names[i], integer(qint16(i + 1)), integer(0));
    QStringList written;
    for (const PropertyBag::Entry &entry : bag.entries())
        written << entry.name;
    QCOMPARE(written, names);
}

void tst_PropertyBag::rewriteReplacesInPlaceOrRemoves()
{
    PropertyBag bag;
    bag.WriteProperty(QStringLiteral("First"), integer(1), integer(0));
    bag.WriteProperty(QStringLiteral("Second"), integer(2), integer(0));
    bag.WriteProperty(QStringLiteral("Third"), integer(3), integer(0));

    // Another spelling of a stored name is the same entry.
    bag.WriteProperty(QStringLiteral("SECOND"), integer(20), integer(0));
    QCOMPARE(bag.entries().size(), 3);
    QCOMPARE(bag.entries().at(1).name, QStringLiteral("Second"));
    QCOMPARE(bag.entries().at(1).value, integer(20));

    bag.WriteProperty(QStringLiteral("second"), integer(0), integer(0));
    QCOMPARE(bag.entries().size(), 2);
    QCOMPARE(bag.entries().at(0).name, QStringLiteral("First"));
    QCOMPARE(bag.entries().at(1).name, QStringLiteral("Third"));
    QVERIFY(!bag.contains(QStringLiteral("Second")));
}

// ---- Conversions ---------------------------------------------------------------------------

void tst_PropertyBag::toInteger_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<int>("expected");
    QTest::newRow("16-bit") << integer(-45) << -45;
    QTest::newRow("32-bit in range") << QVariant(32767) << 32767;
    QTest::newRow("lowest") << QVariant(-32768) << -32768;
    QTest::newRow("True") << QVariant(true) << -1;
    QTest::newRow("False") << QVariant(false) << 0;
    QTest::newRow("text") << QVariant(QStringLiteral(" 120 ")) << 120;
    QTest::newRow("hex literal") << QVariant(QStringLiteral("&H7FFF")) << 32767;
    QTest::newRow("hex literal is 16-bit") << QVariant(QStringLiteral("&HFFFF")) << -1;
    QTest::newRow("half rounds to even, down") << QVariant(2.5) << 2;
    QTest::newRow("half rounds to even, up") << QVariant(3.5) << 4;
    QTest::newRow("negative half") << QVariant(-2.5) << -2;
    QTest::newRow("below half") << QVariant(7.49) << 7;
    QTest::newRow("empty value") << QVariant() << 0;
}

void tst_PropertyBag::toInteger()
{
    QFETCH(QVariant, value);
    QFETCH(int, expected);
    QCOMPARE(int(forms::toInteger(value)), expected);
}

void tst_PropertyBag::toColor_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<quint32>("expected");
    QTest::newRow("unsigned stays") << colour(0x8000000F) << quint32(0x8000000F);
    QTest::newRow("signed reading")
        << QVariant(qint32(0x80000012 - 0x100000000LL)) << quint32(0x80000012);
    QTest::newRow("ordinary") << QVariant(0x00FF0000) << quint32(0x00FF0000);
    QTest::newRow("hex text") << QVariant(QStringLiteral("&H8000000F&")) << quint32(0x8000000F);
    QTest::newRow("decimal text") << QVariant(QStringLiteral("255")) << quint32(0xFF);
    QTest::newRow("16-bit") << integer(128) << quint32(128);
}

void tst_PropertyBag::toColor()
{
    QFETCH(QVariant, value);
    QFETCH(quint32, expected);
    QCOMPARE(forms::toColor(value), expected);
}

void tst_PropertyBag::toBoolean_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<bool>("expected");
    QTest::newRow("True") << QVariant(true) << true;
    QTest::newRow("-1") << integer(-1) << true;
    QTest::newRow("0") << integer(0) << false;
    QTest::newRow("any other number") << QVariant(5) << true;
    QTest::newRow("text True") << QVariant(QStringLiteral("True")) << true;
    QTest::newRow("text false") << QVariant(QStringLiteral("false")) << false;
    QTest::newRow("text number") << QVariant(QStringLiteral("0")) << false;
}

void tst_PropertyBag::toBoolean()
{
    QFETCH(QVariant, value);
    QFETCH(bool, expected);
    QCOMPARE(forms::toBoolean(value), expected);
}

void tst_PropertyBag::toText_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("text") << QVariant(QStringLiteral("&Exit")) << "&Exit";
    QTest::newRow("16-bit") << integer(-7) << "-7";
    QTest::newRow("True") << QVariant(true) << "True";
    QTest::newRow("False") << QVariant(false) << "False";
    QTest::newRow("fraction") << QVariant(2.5) << "2.5";
    QTest::newRow("empty value") << QVariant() << "";
}

void tst_PropertyBag::toText()
{
    QFETCH(QVariant, value);
    QFETCH(QString, expected);
    QCOMPARE(forms::toText(value), expected);
}

void tst_PropertyBag::conversionErrors_data()
{
    QTest::addColumn<QString>("destination");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<int>("error");
    QTest::newRow("word into 16-bit") << "integer" << QVariant(QStringLiteral("abc")) << 13;
    QTest::newRow("empty text into 16-bit") << "integer" << QVariant(QString("")) << 13;
    QTest::newRow("70000 into 16-bit") << "integer" << QVariant(70000) << 6;
    QTest::newRow("32768 into 16-bit") << "integer" << QVariant(32768) << 6;
    QTest::newRow("-32769 into 16-bit") << "integer" << QVariant(-32769) << 6;
    QTest::newRow("32767.5 rounds out of 16-bit") << "integer" << QVariant(32767.5) << 6;
    QTest::newRow("text 70000 into 16-bit") << "integer" << QVariant(QStringLiteral("70000")) << 6;
    QTest::newRow("font into 16-bit") << "integer" << QVariant::fromValue(fontOf("Arial", 9)) << 13;
    QTest::newRow("word into colour") << "colour" << QVariant(QStringLiteral("red")) << 13;
    QTest::newRow("too big for 32 bits") << "colour" << QVariant(5e9) << 6;
    QTest::newRow("word into Boolean") << "boolean" << QVariant(QStringLiteral("yes")) << 13;
    QTest::newRow("font into text") << "text" << QVariant::fromValue(fontOf("Arial", 9)) << 13;
    QTest::newRow("picture into text") << "text" << QVariant::fromValue(pictureOf(Qt::red)) << 13;
    QTest::newRow("text into font") << "font" << QVariant(QStringLiteral("Arial")) << 13;
    QTest::newRow("number into picture") << "picture" << QVariant(5) << 13;
}

void tst_PropertyBag::conversionErrors()
{
    QFETCH(QString, destination);
    QFETCH(QVariant, value);
    QFETCH(int, error);
    std::function<void()> convert;
    if (destination == "integer")
        convert = [&] { forms::toInteger(value); };
    else if (destination == "colour")
        convert = [&] { forms::toColor(value); };
    else if (destination == "boolean")
        convert = [&] { forms::toBoolean(value); };
    else if (destination == "text")
        convert = [&] { forms::toText(value); };
    else if (destination == "font")
        convert = [&] { forms::toFont(value); };
    else
        convert = [&] { forms::toPicture(value); };
    QCOMPARE(errorOf(convert), error);
}

void tst_PropertyBag::fontsAndPicturesConvert()
{
    const StdFont font = fontOf("DejaVu Serif", 12, 700, true);
    QCOMPARE(forms::toFont(QVariant::fromValue(font)), font);

    const StdPicture picture = pictureOf(Qt::blue, 5, 2);
    QCOMPARE(forms::toPicture(QVariant::fromValue(picture)), picture);
    QCOMPARE(forms::toPicture(QVariant::fromValue(picture)).size(), QSize(5, 2));
    // An empty entry is no picture: a zero handle.
    QCOMPARE(forms::toPicture(QVariant()).Handle(), quint64(0));
    QVERIFY(picture.Handle() != 0);
}

void tst_PropertyBag::fontsDrawWithTheFaceTheToolkitChooses_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("weight");
    QTest::addColumn<bool>("italic");
    QTest::newRow("classic face") << "MS Sans Serif" << 400 << false;
    QTest::newRow("classic face, bold italic") << "MS Sans Serif" << 700 << true;
    QTest::newRow("classic face, other case") << "ms sans serif" << 400 << false;
    QTest::newRow("another classic face") << "Tahoma" << 700 << false;
    QTest::newRow("dialog face") << "MS Shell Dlg" << 400 << true;
    QTest::newRow("installed face") << "DejaVu Serif" << 400 << false;
    QTest::newRow("unknown face") << "No Such Face Anywhere" << 400 << false;
}

// Classic faces are looked up once by the substitute the desktop has; what is drawn is still the
// face the toolkit's own substitution picks for the stored name, which the font keeps.
void tst_PropertyBag::fontsDrawWithTheFaceTheToolkitChooses()
{
    QFETCH(QString, name);
    QFETCH(int, weight);
    QFETCH(bool, italic);
    forms::installFontSubstitutes();
    StdFont font = fontOf(name, 8.25, qint16(weight));
    font.italic = italic;
    QFont requested(name);
    requested.setPointSizeF(8.25);
    requested.setWeight(QFont::Weight(weight));
    requested.setItalic(italic);
    for (int pass = 0; pass < 2; ++pass) {
        const QFontInfo drawn(font.toQFont()), expected(requested);
        QCOMPARE(drawn.family(), expected.family());
        QCOMPARE(drawn.styleName(), expected.styleName());
        QCOMPARE(drawn.pointSizeF(), expected.pointSizeF());
    }
    QCOMPARE(forms::toFont(QVariant::fromValue(font)).name, name);
}

// ---- Extent --------------------------------------------------------------------------------

void tst_PropertyBag::extentInHimetric_data()
{
    QTest::addColumn<float>("twips");
    QTest::addColumn<int>("himetric");
    // 1 inch is 1440 twips and 2540 hundredths of a millimetre.
    QTest::newRow("width 1635") << 1635.0f << 2884;
    QTest::newRow("height 465") << 465.0f << 820;
    QTest::newRow("an inch") << 1440.0f << 2540;
    QTest::newRow("zero") << 0.0f << 0;
}

void tst_PropertyBag::extentInHimetric()
{
    QFETCH(float, twips);
    QFETCH(int, himetric);
    QCOMPARE(forms::twipsToHimetric(twips), himetric);
    QCOMPARE(forms::himetricToTwips(himetric), twips);
}

// ---- Colours -------------------------------------------------------------------------------

void tst_PropertyBag::ordinaryColours_data()
{
    QTest::addColumn<quint32>("value");
    QTest::addColumn<QColor>("color");
    QTest::newRow("red is the low byte") << quint32(0x000000FF) << QColor(255, 0, 0);
    QTest::newRow("green") << quint32(0x0000FF00) << QColor(0, 255, 0);
    QTest::newRow("blue is the third byte") << quint32(0x00FF0000) << QColor(0, 0, 255);
    QTest::newRow("mixed") << quint32(0x00123456) << QColor(0x56, 0x34, 0x12);
    QTest::newRow("white") << quint32(0x00FFFFFF) << QColor(255, 255, 255);
    QTest::newRow("grey") << quint32(0x00808080) << QColor(128, 128, 128);
}

void tst_PropertyBag::ordinaryColours()
{
    QFETCH(quint32, value);
    QFETCH(QColor, color);
    QVERIFY(!forms::isSystemColor(value));
    QCOMPARE(forms::toQColor(value), color);
    QCOMPARE(forms::fromQColor(color), value);
}

void tst_PropertyBag::systemColoursFollowThePalette_data()
{
    QTest::addColumn<quint32>("value");
    QTest::addColumn<int>("group");
    QTest::addColumn<int>("role");
    QTest::newRow("2 active title bar")
        << quint32(0x80000002) << int(QPalette::Active) << int(QPalette::Highlight);
    QTest::newRow("8 window text")
        << quint32(0x80000008) << int(QPalette::Active) << int(QPalette::WindowText);
    QTest::newRow("15 button face")
        << quint32(0x8000000F) << int(QPalette::Active) << int(QPalette::Button);
    QTest::newRow("16 3-D shadow")
        << quint32(0x80000010) << int(QPalette::Active) << int(QPalette::Dark);
    QTest::newRow("18 button text")
        << quint32(0x80000012) << int(QPalette::Active) << int(QPalette::ButtonText);
    QTest::newRow("20 3-D highlight")
        << quint32(0x80000014) << int(QPalette::Active) << int(QPalette::Light);
}

void tst_PropertyBag::systemColoursFollowThePalette()
{
    QFETCH(quint32, value);
    QFETCH(int, group);
    QFETCH(int, role);
    QVERIFY(forms::isSystemColor(value));

    // Every role gets a colour of its own, so that a wrong role cannot pass by chance.
    const QPalette saved = QApplication::palette();
    QPalette palette;
    for (int r = 0; r < QPalette::NColorRoles; ++r) {
        if (r == QPalette::NoRole)
            continue;
        palette.setColor(QPalette::All, QPalette::ColorRole(r),
                         QColor(10 + 7 * r, 200 - 5 * r, 3 * r));
    }
    QApplication::setPalette(palette);
    const QColor expected = palette.color(QPalette::ColorGroup(group), QPalette::ColorRole(role));
    const QColor resolved = forms::toQColor(value);
    QApplication::setPalette(saved);

    QCOMPARE(resolved, expected);
    // The same value against another palette gives that palette's colour: nothing is cached.
    QPalette dark = palette;
    dark.setColor(QPalette::ColorGroup(group), QPalette::ColorRole(role), QColor(1, 2, 3));
    QCOMPARE(forms::toQColor(value, dark), QColor(1, 2, 3));
}

QTEST_MAIN(tst_PropertyBag)
#include "tst_propertybag.moc"
