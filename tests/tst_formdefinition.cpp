#include "application.h"
#include "conversions.h"
#include "form.h"
#include "formdefinition.h"
#include "lumobutton.h"
#include "packeddefinition.h"
#include "stdfont.h"
#include "stdpicture.h"
#include "surfaceimages.h"

#include <QBuffer>
#include <QDataStream>
#include <QFile>
#include <QImageReader>
#include <QImageWriter>
#include <QRegularExpression>
#include <QTest>

#include <functional>

using forms::ControlDefinition;
using forms::DefinitionError;
using forms::FormDefinition;

namespace {

const QString AppDefinition = QStringLiteral(MIRVALE_SOURCE_DIR "/app/frmMirvale.xml");

QByteArray fileContents(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot open %s", qPrintable(path));
    return file.readAll();
}

const ControlDefinition *find(const FormDefinition &definition, const QString &name, int index = -1)
{
    for (const ControlDefinition &control : definition.controls) {
        if (control.name == name && control.index == index)
            return &control;
    }
    return nullptr;
}

QStringList entryNames(const forms::PropertyBag &bag)
{
    QStringList names;
    for (const auto &entry : bag.entries())
        names.append(entry.name);
    return names;
}

QByteArray window(const QByteArray &body)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<window name=\"w\">\n" + body +
           "\n</window>\n";
}

// The text as a UTF-16 file with a byte-order mark, written unit by unit, so that it may hold
// what no encoder would write: a surrogate without its pair.
QByteArray utf16File(const QString &text)
{
    QByteArray bytes("\xff\xfe", 2);
    for (QChar c : text) {
        bytes.append(char(c.unicode() & 0xFF));
        bytes.append(char(c.unicode() >> 8));
    }
    return bytes;
}

QByteArray onePixelPng()
{
    QImage image(1, 1, QImage::Format_ARGB32);
    image.fill(Qt::red);
    return forms::StdPicture::fromImage(image).data().toBase64();
}

// An icon file whose directory lists `count` images, all of them the same small picture.
// An icon (type 1) or cursor (type 2) file of `count` images whose directory says 1 x 1, each
// holding the same PNG, by default of one pixel.
QByteArray iconFile(int count, quint16 type = 1, QByteArray png = {})
{
    if (png.isEmpty())
        png = QByteArray::fromBase64(onePixelPng());
    QByteArray icon;
    QDataStream stream(&icon, QIODevice::WriteOnly);
    stream.setByteOrder(QDataStream::LittleEndian);
    stream << quint16(0) << type << quint16(count);
    for (int i = 0; i < count; ++i)
        stream << quint8(1) << quint8(1) << quint8(0) << quint8(0) << quint16(1) << quint16(32)
               << quint32(png.size()) << quint32(6 + 16 * count);
    return icon + png;
}

QByteArray iconOfImages(int count)
{
    return iconFile(count).toBase64();
}

QByteArray pngOfSide(int side)
{
    QImage image(side, side, QImage::Format_Mono);
    image.fill(0);
    return forms::StdPicture::fromImage(image).data();
}

// A progressive JPEG whose scans after the first are repeated until there are `count`: each would
// be decoded in turn.
QByteArray jpegOfScans(int count)
{
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setProgressiveScanWrite(true);
    writer.write(QImage(64, 64, QImage::Format_RGB32));
    const qsizetype second = jpeg.indexOf("\xFF\xDA", jpeg.indexOf("\xFF\xDA") + 2);
    const qsizetype end = jpeg.lastIndexOf("\xFF\xD9");
    const QByteArray scans = jpeg.mid(second, end - second);
    const qsizetype written = jpeg.count("\xFF\xDA");
    QByteArray many = jpeg.left(end);
    for (qsizetype i = written; i < count; ++i)
        many += scans.left(scans.indexOf("\xFF\xDA", 2));
    return (many + "\xFF\xD9").toBase64();
}

QByteArray controlAt(const QByteArray &name, const QByteArray &left, const QByteArray &width,
                     const QByteArray &tabIndex = "0")
{
    return "<control class=\"Label\" name=\"" + name + "\" left=\"" + left +
           "\" top=\"0\" width=\"" + width + "\" height=\"10\" tabindex=\"" + tabIndex + "\"/>";
}

QByteArray windowSetting(const QByteArray &name, const QByteArray &type, const QByteArray &value)
{
    return window("<setting name=\"" + name + "\" type=\"" + type + "\">" + value + "</setting>");
}

// Files written to do harm: each is refused with a message that says where and why.
void addHostileRows(const QByteArray &control)
{
    auto property = [&](const QByteArray &p) { return window(control + p + "</control>"); };
    for (const char *value : {"1000000000", "-1"})
        QTest::addRow("client width %s", value)
            << windowSetting("ClientWidth", "long", value)
            << QStringList{"entry 'ClientWidth'", "outside 0 to 245760"};
    QTest::newRow("client width 2^31") << windowSetting("ClientHeight", "long", "2147483648")
                                       << QStringList{"entry 'ClientHeight'", "32-bit"};
    QTest::newRow("client width as text") << windowSetting("ClientWidth", "string", "abc")
                                          << QStringList{"entry 'ClientWidth'", "integer or long"};
    QTest::newRow("client place far off") << windowSetting("ClientLeft", "long", "-300000")
                                          << QStringList{"entry 'ClientLeft'", "outside"};
    for (const char *value : {"1e9", "2147483648", "nan", "inf", "-inf"}) {
        QTest::addRow("control width %s", value)
            << window(controlAt("l", "0", value)) << QStringList{"control 'l'", "\"width\""};
        QTest::addRow("control left %s", value)
            << window(controlAt("l", value[0] == '-' ? QByteArray(value) : "-" + QByteArray(value),
                                "10"))
            << QStringList{"control 'l'", "\"left\""};
    }
    QTest::newRow("tab index out of range") << window(controlAt("l", "0", "10", "40000"))
                                            << QStringList{"control 'l'", "tab index 40000"};
    QTest::newRow("negative tab index")
        << window(controlAt("l", "0", "10", "-1")) << QStringList{"control 'l'", "tab index -1"};
    QByteArray many;
    for (int i = 0; i < 100000; ++i)
        many += controlAt("l" + QByteArray::number(i), "0", "10");
    QTest::newRow("100,000 controls") << window(many) << QStringList{"more than 10000 controls"};
    QTest::newRow("100,000 top-level menus")
        << window(QByteArray("<menu name=\"m\" caption=\"m\"/>").repeated(100000))
        << QStringList{"more than 1000 menus"};
    QTest::newRow("1,000 menus of 1,000 entries")
        << window(("<menu name=\"m\" caption=\"m\">" +
                   QByteArray("<menu name=\"i\" caption=\"i\"/>").repeated(1000) + "</menu>")
                      .repeated(1000))
        << QStringList{"more than 1000 menus and menu entries in all"};
    QByteArray longCaptions;
    for (int i = 0; i < 20; ++i)
        longCaptions += "<control class=\"Label\" name=\"l" + QByteArray::number(i) +
                        "\" left=\"0\" top=\"0\" width=\"1\" height=\"1\" tabindex=\"0\">"
                        "<setting name=\"Caption\" type=\"string\">" +
                        QByteArray(60000, 'c') + "</setting></control>";
    QTest::newRow("20 captions of 60,000 characters")
        << window(longCaptions) << QStringList{"control 'l17'", "the window's texts hold"};
    QByteArray attributes;
    for (int i = 0; i < 200000; ++i)
        attributes += " a" + QByteArray::number(i) + "=\"1\"";
    QTest::newRow("an element of 200,000 attributes")
        << window("<control" + attributes + "/>")
        << QStringList{"f.xml:3:", "more than 16 attributes"};
    QTest::newRow("17 attributes in a UTF-16 file")
        << utf16File("<?xml version=\"1.0\" encoding=\"UTF-16\"?>\n<window name=\"w\"" +
                     QString::fromLatin1(attributes.left(attributes.indexOf(" a17="))) + "/>")
        << QStringList{"f.xml:2:", "more than 16 attributes"};
    QTest::newRow("a name of 4 MiB") << window(controlAt(QByteArray(4 << 20, 'a'), "0", "10"))
                                     << QStringList{"a text of 4194304 characters"};
    QTest::newRow("a name that is no identifier")
        << window(controlAt("2nd", "0", "10")) << QStringList{"\"2nd\" is not a name"};
    QTest::newRow("a caption of 4 MiB") << property("<property name=\"caption\" type=\"string\">" +
                                                    QByteArray(4 << 20, 'a') + "</property>")
                                        << QStringList{"entry 'caption'", "more than 65535"};
    QTest::newRow("deeply nested elements")
        << property("<property name=\"caption\" type=\"string\">" +
                    QByteArray("<b>").repeated(100000) + "</property>")
        << QStringList{"entry 'caption'"};
    QTest::newRow("a document type")
        << QByteArray("<?xml version=\"1.0\"?><!DOCTYPE window><window name=\"w\"/>")
        << QStringList{"f.xml:1:", "document type"};
    QTest::newRow("entities that expand")
        << QByteArray("<?xml version=\"1.0\"?><!DOCTYPE window [<!ENTITY a \"aaaaaaaaaa\">"
                      "<!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\"><!ENTITY c "
                      "\"&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;\">]><window name=\"w\"><setting "
                      "name=\"Caption\" type=\"string\">&c;&c;&c;</setting></window>")
        << QStringList{"document type"};
    QTest::newRow("an external entity")
        << QByteArray("<?xml version=\"1.0\"?><!DOCTYPE window [<!ENTITY x SYSTEM "
                      "\"file:///etc/passwd\">]><window name=\"w\"><setting name=\"Caption\" "
                      "type=\"string\">&x;</setting></window>")
        << QStringList{"document type"};
    QTest::newRow("a picture claiming 65535 x 65535")
        << property("<property name=\"picture\" type=\"picture\">iVBORw0KGgoAAAANSUhEUgAA//"
                    "8AAP//CAYAAAC2BdlQAAAADElEQVR4nGNgoAwAAABAAAG3NHzvAAAAAElFTkSuQmCC</property>")
        << QStringList{"entry 'picture'", "65535 x 65535"};
    QTest::newRow("an icon of 5,000 images")
        << property("<property name=\"picture\" type=\"picture\">" + iconOfImages(5000) +
                    "</property>")
        << QStringList{"entry 'picture'", "5000 images"};
    QTest::newRow("a JPEG of 800 scans")
        << property("<property name=\"picture\" type=\"picture\">" + jpegOfScans(800) +
                    "</property>")
        << QStringList{"entry 'picture'", "800 scans"};
    QTest::newRow("duplicate name and index, differently cased")
        << window(control + "</control>" + QByteArray(control).replace("\"cmd\"", "\"CMD\"") +
                  "</control>")
        << QStringList{"control 'CMD(1)'", "already defined"};
}

} // namespace

class tst_FormDefinition : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void storedWindowRoundTripsByteForByte();
    void storedWindowHoldsItsControlsInOrder();
    void storedButtonsHoldExactlyTheirEntries();
    void storedPictures_data();
    void storedPictures();
    void pictureWithABrokenBodyIsKept();
    void valuesOfEveryKindRoundTrip();
    void unstorableTextIsRefused_data();
    void unstorableTextIsRefused();
    void picturesCountWhatTheyDecodeTo_data();
    void picturesCountWhatTheyDecodeTo();
    void picturesBeyondTheWindowsTotalAreRefused();
    void malformed_data();
    void malformed();
    void loadFailureNamesControlAndEntry_data();
    void loadFailureNamesControlAndEntry();
    void savedWindowStoresExtentThenOwnEntries();
    void windowOfManyButtonsKeepsAboutOneFaceEach();
};

void tst_FormDefinition::initTestCase()
{
    SetUpApplication();
}

// Reading a definition and writing it again changes nothing, so opening and saving a window
// never disturbs the file.
void tst_FormDefinition::storedWindowRoundTripsByteForByte()
{
    const QByteArray stored = fileContents(AppDefinition);
    const FormDefinition definition = forms::readDefinition(stored, AppDefinition);
    QCOMPARE(forms::writeDefinition(definition), stored);

    // The packed form the program is built with holds all of it, too.
    const QByteArray packed = forms::packDefinition(definition);
    QCOMPARE(forms::writeDefinition(forms::unpackDefinition(packed, QStringLiteral("packed"))),
             stored);
    // Cut short anywhere, or followed by more, it is refused as a whole.
    for (qsizetype size = 0; size < packed.size(); size += 7) {
        QVERIFY_THROWS_EXCEPTION(forms::DefinitionError,
                                 forms::unpackDefinition(packed.left(size), QStringLiteral("cut")));
    }
    QVERIFY_THROWS_EXCEPTION(forms::DefinitionError,
                             forms::unpackDefinition(packed + '\0', QStringLiteral("longer")));
}

void tst_FormDefinition::storedWindowHoldsItsControlsInOrder()
{
    const FormDefinition d = forms::readDefinition(fileContents(AppDefinition), AppDefinition);
    QCOMPARE(d.name, QStringLiteral("frmMirvale"));
    QCOMPARE(forms::toLong(d.settings.ReadProperty("ClientWidth")), 3735);
    QCOMPARE(forms::toLong(d.settings.ReadProperty("ClientHeight")), 4050);

    struct Expected
    {
        const char *className, *name;
        int index;
        forms::TwipsRect rect;
        int tabIndex;
    };
    const Expected expected[] = {
        {"Mirvale.Border", "linTop", -1, {45, 0, 4650, 60}, 4},
        {"Label", "lblPlease", -1, {0, 90, 3705, 510}, 8},
        {"Label", "lblStock", -1, {195, 675, 1275, 465}, 9},
        {"TextBox", "txtStock", -1, {1545, 675, 1995, 375}, 0},
        {"Label", "lblFinal", -1, {195, 1170, 1275, 465}, 10},
        {"TextBox", "txtFinal", -1, {1545, 1170, 1995, 375}, 1},
        {"Label", "Label3", -1, {180, 1755, 1275, 240}, 15},
        {"TextBox", "txtFinalVolume", -1, {1530, 1665, 1995, 375}, 2},
        {"Mirvale.Border", "linMedium", -1, {-90, 2205, 4695, 60}, 5},
        {"Label", "Label1", -1, {180, 2295, 1275, 465}, 11},
        {"TextBox", "txtStockVolume", -1, {1530, 2340, 1995, 375}, 12},
        {"Label", "Label2", -1, {405, 2790, 1050, 465}, 13},
        {"TextBox", "txtDiluentVolume", -1, {1530, 2835, 1995, 375}, 14},
        {"Mirvale.Border", "linBottom", -1, {0, 3330, 4515, 60}, 3},
        {"Mirvale.LumoButton", "cmdAction", 0, {135, 3510, 1635, 465}, 6},
        {"Mirvale.LumoButton", "cmdAction", 1, {1980, 3510, 1635, 465}, 7},
    };
    QCOMPARE(d.controls.size(), qsizetype(std::size(expected)));
    for (qsizetype i = 0; i < d.controls.size(); ++i) {
        const ControlDefinition &c = d.controls[i];
        QCOMPARE(c.className, QString::fromLatin1(expected[i].className));
        QCOMPARE(c.name, QString::fromLatin1(expected[i].name));
        QCOMPARE(c.index, expected[i].index);
        QVERIFY2(c.rect == expected[i].rect, qPrintable(c.name));
        QCOMPARE(c.tabIndex, expected[i].tabIndex);
    }
    // The separators store their extent and nothing else.
    const std::pair<const char *, QList<qint32>> extents[] = {
        {"linTop", {8202, 106}}, {"linMedium", {8281, 106}}, {"linBottom", {7964, 106}}};
    for (const auto &[name, extent] : extents) {
        const ControlDefinition *border = find(d, QString::fromLatin1(name));
        QCOMPARE(entryNames(border->properties), QStringList({"_extentx", "_extenty"}));
        QCOMPARE(forms::toLong(border->properties.ReadProperty("_extentx")), extent[0]);
        QCOMPARE(forms::toLong(border->properties.ReadProperty("_extenty")), extent[1]);
    }
    // Only the result fields are out of the Tab sequence.
    for (const char *name : {"txtStockVolume", "txtDiluentVolume"})
        QCOMPARE(find(d, QString::fromLatin1(name))->settings.ReadProperty("TabStop"),
                 QVariant(false));
    for (const char *name : {"txtStock", "txtFinal", "txtFinalVolume"})
        QVERIFY(find(d, QString::fromLatin1(name))->settings.isEmpty());
}

void tst_FormDefinition::storedButtonsHoldExactlyTheirEntries()
{
    const FormDefinition d = forms::readDefinition(fileContents(AppDefinition), AppDefinition);
    const QStringList entries = {
        "_extentx",          "_extenty",         "autoredraw",   "font",
        "forecolor",         "mouseicon",        "picture",      "caption",
        "selectedpicture",   "pressedpicture",   "fontselected", "fontpressed",
        "forecolorselected", "forecolorpressed", "tooltiptext"};
    const QString captions[] = {"Calculate (F5)", "&Exit"};
    const QString tips[] = {"Calculate", "Exit Program"};
    for (int index = 0; index < 2; ++index) {
        const forms::PropertyBag &bag = find(d, "cmdAction", index)->properties;
        QCOMPARE(entryNames(bag), entries);
        QCOMPARE(forms::toLong(bag.ReadProperty("_extentx")), 2884);
        QCOMPARE(forms::toLong(bag.ReadProperty("_extenty")), 820);
        QCOMPARE(bag.ReadProperty("AutoRedraw"), QVariant(true));
        QCOMPARE(bag.ReadProperty("Caption").toString(), captions[index]);
        QCOMPARE(bag.ReadProperty("ToolTipText").toString(), tips[index]);
        QCOMPARE(bag.ReadProperty("ForeColor").toUInt(), 0x80000008u);
        QCOMPARE(bag.ReadProperty("ForeColorSelected").toUInt(), 0x80000002u);
        QCOMPARE(bag.ReadProperty("ForeColorPressed").toUInt(), 0x80000002u);
        forms::StdFont classic;
        classic.name = "MS Sans Serif";
        classic.size = 8.25;
        for (const char *font : {"Font", "FontSelected", "FontPressed"})
            QCOMPARE(bag.ReadProperty(font).value<forms::StdFont>(), classic);
        QCOMPARE(bag.ReadProperty("PressedPicture").value<forms::StdPicture>(),
                 bag.ReadProperty("SelectedPicture").value<forms::StdPicture>());
        QVERIFY(!(bag.ReadProperty("Picture").value<forms::StdPicture>() ==
                  bag.ReadProperty("SelectedPicture").value<forms::StdPicture>()));
    }
}

void tst_FormDefinition::storedPictures_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QSize>("size");
    for (int index = 0; index < 2; ++index) {
        for (const char *entry : {"Picture", "SelectedPicture", "PressedPicture"})
            QTest::addRow("cmdAction(%d) %s", index, entry) << index << entry << QSize(16, 16);
        QTest::addRow("cmdAction(%d) MouseIcon", index) << index << "MouseIcon" << QSize(32, 32);
    }
}

// Every picture is small and has at most 16 colours, with a transparent background.
void tst_FormDefinition::storedPictures()
{
    QFETCH(int, index);
    QFETCH(QString, entry);
    QFETCH(QSize, size);
    const FormDefinition d = forms::readDefinition(fileContents(AppDefinition), AppDefinition);
    const auto picture =
        find(d, "cmdAction", index)->properties.ReadProperty(entry).value<forms::StdPicture>();
    QCOMPARE(picture.size(), size);
    const QImage image = picture.image().convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(image.size(), size);
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            colours.insert(image.pixel(x, y));
    QVERIFY2(colours.size() <= 16, qPrintable(QString::number(colours.size())));
    QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
}

// A stored picture is decoded when first drawn. One whose body turns out broken then draws
// nothing, and its bytes are still written back as they were.
void tst_FormDefinition::pictureWithABrokenBodyIsKept()
{
    QImage image(8, 8, QImage::Format_ARGB32);
    image.fill(Qt::red);
    QByteArray png = forms::StdPicture::fromImage(image).data();
    const qsizetype body = png.indexOf("IDAT") + 4;
    QVERIFY(body > 4);
    for (qsizetype i = body; i < png.size() - 16; ++i)
        png[i] = char(0xA5);
    const QByteArray xml =
        window("<control class=\"Mirvale.LumoButton\" name=\"cmd\" index=\"0\" left=\"0\" "
               "top=\"0\" width=\"10\" height=\"10\" tabindex=\"0\"><property "
               "name=\"picture\" type=\"picture\">" +
               png.toBase64() + "</property></control>");
    const FormDefinition d = forms::readDefinition(xml, "f.xml");
    const auto picture =
        find(d, "cmd", 0)->properties.ReadProperty("picture").value<forms::StdPicture>();
    QVERIFY(!picture.isNull());
    QCOMPARE(picture.size(), QSize(8, 8));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("stored picture cannot be decoded"));
    QVERIFY(picture.image().isNull());
    QCOMPARE(forms::readDefinition(forms::writeDefinition(d), "g.xml")
                 .controls.value(0)
                 .properties.ReadProperty("picture")
                 .value<forms::StdPicture>()
                 .data(),
             png);
}

void tst_FormDefinition::valuesOfEveryKindRoundTrip()
{
    FormDefinition d;
    d.name = "w";
    ControlDefinition c;
    c.className = "Mirvale.LumoButton";
    c.name = "b";
    c.index = 3;
    c.rect = {-90, 12.5f, 1635, 465};
    c.tabIndex = 2;
    forms::StdFont font;
    font.name = "Liberation Serif";
    font.size = 12.75;
    font.weight = 700;
    font.charset = 2;
    font.italic = font.underline = font.strikethrough = true;
    QImage image(3, 2, QImage::Format_ARGB32);
    image.fill(Qt::blue);
    forms::StdPicture picture = forms::StdPicture::fromImage(image);
    picture.setHotSpot(QPoint(2, 1));
    c.properties.append("short", QVariant::fromValue<qint16>(-32768));
    c.properties.append("long", QVariant::fromValue<qint32>(-2147483647 - 1));
    c.properties.append("colour", QVariant::fromValue<quint32>(0x8000000Fu));
    c.properties.append("true", true);
    c.properties.append("false", false);
    c.properties.append("text", QStringLiteral("a & b < c > \"d\" 'e' \u00e9\u4e2d"));
    c.properties.append("empty", QString());
    // A carriage return written as it is would read back as a line end.
    c.properties.append("lines", QStringLiteral("one\rtwo\r\nthree\nfour\r"));
    c.properties.append("blanks", QStringLiteral(" \t "));
    c.properties.append("font", QVariant::fromValue(font));
    c.properties.append("picture", QVariant::fromValue(picture));
    c.properties.append("nopicture", QVariant::fromValue(forms::StdPicture()));
    d.controls.append(c);

    const QByteArray xml = forms::writeDefinition(d);
    const FormDefinition back = forms::readDefinition(xml, "memory");
    QCOMPARE(forms::writeDefinition(back), xml);
    const ControlDefinition &r = back.controls.at(0);
    QCOMPARE(r.index, 3);
    QVERIFY(r.rect == c.rect);
    QCOMPARE(entryNames(r.properties), entryNames(c.properties));
    for (const auto &entry : c.properties.entries()) {
        const QVariant value = r.properties.ReadProperty(entry.name);
        QVERIFY2(forms::PropertyBag::sameValue(value, entry.value), qPrintable(entry.name));
        QCOMPARE(value.metaType(), entry.value.metaType());
    }
    QCOMPARE(r.properties.ReadProperty("picture").value<forms::StdPicture>().hotSpot(),
             QPoint(2, 1));
}

void tst_FormDefinition::unstorableTextIsRefused_data()
{
    QTest::addColumn<QString>("caption");
    QTest::newRow("control character") << QStringLiteral("a\u0001b");
    QTest::newRow("escape") << QStringLiteral("\u001b[1m");
    QTest::newRow("not a character") << QStringLiteral("x\uFFFF");
    // Longer than a definition may hold, so the file could not be opened again.
    QTest::newRow("too long") << QString(forms::MaxTextLength + 1, u'a');
}

// A caption XML cannot hold is refused rather than silently shortened on the way out.
void tst_FormDefinition::unstorableTextIsRefused()
{
    QFETCH(QString, caption);
    FormDefinition d;
    d.name = "w";
    ControlDefinition c;
    c.className = "Mirvale.LumoButton";
    c.name = "cmd";
    c.index = 2;
    c.properties.append("caption", caption);
    d.controls.append(c);
    try {
        forms::writeDefinition(d);
        QFAIL("the definition was written");
    } catch (const DefinitionError &error) {
        QVERIFY2(error.message().contains("control 'cmd(2)'"), qPrintable(error.message()));
        QVERIFY2(error.message().contains("entry 'caption'"), qPrintable(error.message()));
    }
}

// Each picture is within the limit for one, but three of the largest would decode to 192 MiB: the
// window is refused by each reader, and never written or packed.
void tst_FormDefinition::picturesCountWhatTheyDecodeTo_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<qint64>("pixels");
    QTest::addColumn<QString>("refusal");
    // A one-scan JPEG with the bytes of 150 scans' markers in a comment is one scan.
    QByteArray jpeg = QByteArray::fromBase64(jpegOfScans(1));
    const QByteArray markers = QByteArray("\xFF\xDA", 2).repeated(150);
    jpeg.insert(2, QByteArray("\xFF\xFE\x01\x2E", 4) + markers);
    QTest::newRow("a JPEG with scan markers in a comment") << jpeg << qint64(64 * 64) << QString();
    QTest::newRow("an icon saying 1 x 1 that holds images of 4096 x 4096")
        << iconFile(3, 1, pngOfSide(4096)) << qint64(3) * 4096 * 4096 << QString();
    QTest::newRow("an icon image of 8192 x 8192")
        << iconFile(1, 1, pngOfSide(8192)) << qint64(0) << "8192 x 8192";
    QTest::newRow("a cursor of 300 images") << iconFile(300, 2) << qint64(0) << "300 images";
    QTest::newRow("a cursor of 256 images") << iconFile(256, 2) << qint64(256) << QString();
    QByteArray bmp("BM", 2);
    QDataStream stream(&bmp, QIODevice::Append);
    stream.setByteOrder(QDataStream::LittleEndian);
    stream << quint32(54) << quint32(0) << quint32(54) << quint32(40) << qint32(16)
           << qint32(-100000) << quint16(1) << quint16(24) << quint32(0) << quint32(0) << quint32(0)
           << quint32(0) << quint32(0) << quint32(0);
    QTest::newRow("a BMP of height -100000") << bmp << qint64(0) << "100000";
}

// A picture counts, and is refused, by what its images decode to, not by what its header says.
void tst_FormDefinition::picturesCountWhatTheyDecodeTo()
{
    QFETCH(QByteArray, file);
    QFETCH(qint64, pixels);
    QFETCH(QString, refusal);
    QString why;
    const forms::StdPicture picture = forms::StdPicture::fromStoredData(file, &why);
    if (refusal.isEmpty()) {
        QVERIFY2(!picture.isNull(), qPrintable(why));
        QCOMPARE(picture.pixelCount(), pixels);
    } else {
        QVERIFY(picture.isNull());
        QVERIFY2(why.contains(refusal), qPrintable(why));
    }
}

void tst_FormDefinition::picturesBeyondTheWindowsTotalAreRefused()
{
    QImage largest(4096, 4096, QImage::Format_Mono);
    largest.fill(0);
    const forms::StdPicture picture = forms::StdPicture::fromImage(largest);
    FormDefinition d;
    d.name = "w";
    ControlDefinition c;
    c.className = "Mirvale.LumoButton";
    c.name = "cmd";
    for (const char *name : {"Picture", "SelectedPicture"})
        c.properties.append(name, QVariant::fromValue(picture));
    d.controls.append(c);
    const QByteArray two = forms::writeDefinition(d);
    const QByteArray twoPacked = forms::packDefinition(d);
    c.properties.append("PressedPicture", QVariant::fromValue(picture));
    d.controls = {c};
    const auto refused = [](const std::function<void()> &step, const char *entry) {
        try {
            step();
            QFAIL("a window with pictures beyond the total was accepted");
        } catch (const DefinitionError &error) {
            QVERIFY2(error.message().contains(entry), qPrintable(error.message()));
            QVERIFY2(error.message().contains("more than the 33554432"),
                     qPrintable(error.message()));
        }
    };
    refused([&] { forms::writeDefinition(d); }, "entry 'PressedPicture'");
    const QByteArray pictureXml = "<property name=\"PressedPicture\" type=\"picture\">" +
                                  picture.data().toBase64() + "</property>";
    QByteArray three = two;
    three.insert(three.indexOf("</control>"), pictureXml);
    refused([&] { forms::readDefinition(three, "f.xml"); }, "entry 'PressedPicture'");
    refused([&] { forms::packDefinition(d); }, "entry 'PressedPicture'");
    // Two are within it.
    QCOMPARE(forms::readDefinition(two, "f.xml").controls.size(), 1);
    QCOMPARE(forms::unpackDefinition(twoPacked, "packed").controls.size(), 1);
}

void tst_FormDefinition::malformed_data()
{
    QTest::addColumn<QByteArray>("xml");
    QTest::addColumn<QStringList>("mentions");
    const QByteArray control = "<control class=\"Mirvale.LumoButton\" name=\"cmd\" index=\"1\" "
                               "left=\"0\" top=\"0\" width=\"10\" height=\"10\" tabindex=\"0\">";
    auto property = [&](const QByteArray &p) { return window(control + p + "</control>"); };
    QTest::newRow("not xml") << QByteArray("this is not a window") << QStringList{"f.xml:1:"};
    QTest::newRow("empty") << QByteArray() << QStringList{"f.xml:1:"};
    QTest::newRow("unclosed") << QByteArray("<window name=\"w\"><control")
                              << QStringList{"f.xml:1:"};
    QTest::newRow("wrong root") << QByteArray("<form/>") << QStringList{"<window>", "<form>"};
    QTest::newRow("unknown element") << window("<gadget/>") << QStringList{"f.xml:3:", "<gadget>"};
    QTest::newRow("missing name") << window("<control class=\"Label\"/>")
                                  << QStringList{"\"name\""};
    QTest::newRow("bad position")
        << window("<control class=\"Label\" name=\"l\" left=\"x\" top=\"0\" width=\"1\" "
                  "height=\"1\" tabindex=\"0\"/>")
        << QStringList{"control 'l'", "\"left\""};
    QTest::newRow("negative size")
        << window("<control class=\"Label\" name=\"l\" left=\"0\" top=\"0\" width=\"-1\" "
                  "height=\"1\" tabindex=\"0\"/>")
        << QStringList{"control 'l'", "outside 0 to 245760"};
    QTest::newRow("bad integer") << property(
                                        "<property name=\"delta\" type=\"integer\">abc</property>")
                                 << QStringList{"f.xml:3:", "control 'cmd(1)'", "entry 'delta'",
                                                "abc"};
    QTest::newRow("integer too big")
        << property("<property name=\"delta\" type=\"integer\">40000</property>")
        << QStringList{"control 'cmd(1)'", "entry 'delta'", "16-bit"};
    QTest::newRow("long too big")
        << property("<property name=\"backcolor\" type=\"long\">0x1FFFFFFFF</property>")
        << QStringList{"entry 'backcolor'", "32-bit"};
    QTest::newRow("bad boolean")
        << property("<property name=\"switch\" type=\"boolean\">maybe</property>")
        << QStringList{"entry 'switch'", "maybe"};
    QTest::newRow("unknown type") << property("<property name=\"x\" type=\"decimal\">1</property>")
                                  << QStringList{"entry 'x'", "decimal"};
    QTest::newRow("stored twice") << property(
                                         "<property name=\"Caption\" type=\"string\">a</property>"
                                         "<property name=\"caption\" type=\"string\">b</property>")
                                  << QStringList{"entry 'caption'", "twice"};
    QTest::newRow("not base64") << property(
                                       "<property name=\"picture\" type=\"picture\">!!!</property>")
                                << QStringList{"entry 'picture'", "base64"};
    QTest::newRow("not a picture")
        << property("<property name=\"picture\" type=\"picture\">aGVsbG8gd29ybGQ=</property>")
        << QStringList{"entry 'picture'", "cannot be read"};
    QTest::newRow("hot spot outside")
        << property("<property name=\"mouseicon\" type=\"picture\" hotspot=\"5,0\">" +
                    onePixelPng() + "</property>")
        << QStringList{"entry 'mouseicon'", "hot spot"};
    QTest::newRow("font without size")
        << property("<property name=\"font\" type=\"font\" face=\"A\" weight=\"400\" "
                    "charset=\"0\" italic=\"False\" underline=\"False\" strikethrough=\"False\"/>")
        << QStringList{"entry 'font'", "\"size\""};
    QTest::newRow("element inside a value")
        << property("<property name=\"caption\" type=\"string\">a<b/></property>")
        << QStringList{"entry 'caption'"};
    QTest::newRow("duplicate control") << window(control + "</control>" + control + "</control>")
                                       << QStringList{"control 'cmd(1)'", "already defined"};
    QByteArray deep = "<menu name=\"m\" caption=\"m\">";
    QTest::newRow("menus too deep") << window(deep.repeated(9) + QByteArray("</menu>").repeated(9))
                                    << QStringList{"nested deeper"};
    QTest::newRow("text after the window")
        << QByteArray("<window name=\"w\"/><window name=\"v\"/>") << QStringList{"f.xml:1:"};
    addHostileRows(control);
    const QString unpaired(QChar(0xDC00));
    QTest::newRow("unpaired surrogate in a text")
        << utf16File("<?xml version=\"1.0\" encoding=\"UTF-16\"?><window name=\"w\"><setting "
                     "name=\"title\" type=\"string\">a" +
                     unpaired + "b</setting></window>")
        << QStringList{"entry 'title'", "not valid Unicode"};
    QTest::newRow("unpaired surrogate in a name")
        << utf16File("<?xml version=\"1.0\" encoding=\"UTF-16\"?><window name=\"" + unpaired +
                     "\"/>")
        << QStringList{"f.xml:1:", "not valid Unicode"};
}

// A definition that cannot be read is an error naming the file, the place, the control and the
// entry; it never crashes or half-loads.
void tst_FormDefinition::malformed()
{
    QFETCH(QByteArray, xml);
    QFETCH(QStringList, mentions);
    try {
        forms::readDefinition(xml, "f.xml");
        QFAIL("a malformed definition was read");
    } catch (const DefinitionError &error) {
        for (const QString &mention : mentions)
            QVERIFY2(error.message().contains(mention), qPrintable(error.message()));
    }
}

void tst_FormDefinition::loadFailureNamesControlAndEntry_data()
{
    QTest::addColumn<QByteArray>("xml");
    QTest::addColumn<QStringList>("mentions");
    auto button = [](const QByteArray &properties) {
        return window("<control class=\"Mirvale.LumoButton\" name=\"cmd\" index=\"0\" left=\"0\" "
                      "top=\"0\" width=\"1635\" height=\"465\" tabindex=\"0\">" +
                      properties + "</control>");
    };
    QTest::newRow("text into a 16-bit entry")
        << button("<property name=\"caption\" type=\"string\">x</property>"
                  "<property name=\"delta\" type=\"string\">abc</property>")
        << QStringList{"f.xml", "control 'cmd(0)'", "entry 'Delta'", "Type mismatch", "13"};
    QTest::newRow("number too big for 16 bits")
        << button("<property name=\"shift\" type=\"long\">70000</property>")
        << QStringList{"control 'cmd(0)'", "entry 'Shift'", "Overflow", "6"};
    QTest::newRow("pointer shape that does not exist")
        << button("<property name=\"mousepointer\" type=\"integer\">50</property>")
        << QStringList{"entry 'MousePointer'", "380"};
    QTest::newRow("font where text belongs")
        << button(
               "<property name=\"tooltiptext\" type=\"font\" face=\"A\" size=\"8\" weight=\"400\" "
               "charset=\"0\" italic=\"False\" underline=\"False\" strikethrough=\"False\"/>")
        << QStringList{"entry 'ToolTipText'", "13"};
    QTest::newRow("unknown class")
        << window("<control class=\"Acme.Gizmo\" name=\"g\" left=\"0\" top=\"0\" width=\"1\" "
                  "height=\"1\" tabindex=\"0\"/>")
        << QStringList{"control 'g'", "Acme.Gizmo"};
    // A stock setting may move, rename or resize a control beyond what a definition holds: the
    // window as built would save a file no reader opens.
    const auto label = [](const QByteArray &name, const QByteArray &setting = {}) {
        return "<control class=\"Label\" name=\"" + name +
               "\" left=\"0\" top=\"0\" width=\"1\" height=\"1\" tabindex=\"0\">" + setting +
               "</control>";
    };
    QTest::newRow("a setting that renames past the name rule")
        << window(label("lbl", "<setting name=\"objectName\" type=\"string\">2nd</setting>"))
        << QStringList{"f.xml:3:", "\"2nd\" is not a name", "once its settings are applied"};
    QTest::newRow("a setting that widens past the size limit")
        << window(label("lbl", "<setting name=\"minimumWidth\" type=\"long\">20000</setting>"))
        << QStringList{"control 'lbl'", "\"width\" is 300000 twips", "once its settings"};
    QTest::newRow("a setting that renames onto another control")
        << window(label("lblA") +
                  label("lbl", "<setting name=\"objectName\" type=\"string\">LBLA</setting>"))
        << QStringList{"already defined", "once its settings"};
    QTest::newRow("a window setting of the wrong kind")
        << windowSetting("Icon", "string", "abc") << QStringList{"f.xml:2:", "entry 'Icon'"};
    QTest::newRow("setting a label does not have")
        << window("<control class=\"Label\" name=\"l\" left=\"0\" top=\"0\" width=\"1\" "
                  "height=\"1\" tabindex=\"0\"><setting name=\"Colour\" type=\"long\">1"
                  "</setting></control>")
        << QStringList{"control 'l'", "entry 'Colour'"};
}

void tst_FormDefinition::loadFailureNamesControlAndEntry()
{
    QFETCH(QByteArray, xml);
    QFETCH(QStringList, mentions);
    const FormDefinition definition = forms::readDefinition(xml, "f.xml");
    forms::Form form;
    try {
        form.LoadDefinition(definition, "f.xml");
        QFAIL("a definition that cannot be loaded was loaded");
    } catch (const DefinitionError &error) {
        for (const QString &mention : mentions)
            QVERIFY2(error.message().contains(mention), qPrintable(error.message()));
    }
}

// What a window saves for a control: the container's extent first, then the control's own set,
// and after it, as they came, entries the control does not know.
void tst_FormDefinition::savedWindowStoresExtentThenOwnEntries()
{
    FormDefinition stored = forms::readDefinition(fileContents(AppDefinition), AppDefinition);
    for (ControlDefinition &control : stored.controls) {
        if (control.className == u"Mirvale.LumoButton")
            control.properties.append("zzunknown", QStringLiteral("kept"));
    }
    forms::Form form;
    form.LoadDefinition(stored, AppDefinition);
    const FormDefinition saved = form.SaveDefinition();
    QCOMPARE(forms::writeDefinition(saved), forms::writeDefinition(stored));
}

QTEST_MAIN(tst_FormDefinition)
// A button shows the face drawn on its buffer, the two sharing one image; a button not yet shown
// holds no pixels of its own nor the faces it drew before its last; and the faces kept to be
// shown again are a fixed amount for all buttons together, here under half a face each.
void tst_FormDefinition::windowOfManyButtonsKeepsAboutOneFaceEach()
{
    constexpr int Count = 4000;
    QByteArray xml = "<window name=\"frmMany\">";
    for (int i = 0; i < Count; ++i)
        xml += QStringLiteral("<control class=\"Mirvale.LumoButton\" name=\"b%1\" left=\"0\" "
                              "top=\"0\" width=\"2400\" height=\"600\" tabindex=\"%1\"><property "
                              "name=\"caption\" type=\"string\">Button %1</property></control>")
                   .arg(i)
                   .toUtf8();
    xml += "</window>";
    const FormDefinition definition = forms::readDefinition(xml, "many.xml");
    const qsizetype before = forms::SurfaceImages::bytesInUse();
    forms::Form form;
    form.LoadDefinition(definition, "many.xml");
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    const qsizetype face = 160 * 40 * 4;
    const qsizetype used = forms::SurfaceImages::bytesInUse() - before;
    QVERIFY2(used <= Count * face * 3 / 2,
             qPrintable(QStringLiteral("%1 faces").arg(double(used) / face, 0, 'f', 1)));
}

#include "tst_formdefinition.moc"
