#include "conversions.h"
#include "imagetools.h"
#include "lumobutton.h"
#include "lumobuttonproperties.h"
#include "picturebox.h"
#include "propertybag.h"
#include "runtimeerror.h"
#include "twips.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTest>

#include <functional>

using forms::OleColor;
using forms::PictureBox;
using forms::PropertyBag;
using forms::RuntimeError;
using forms::StdFont;
using forms::StdPicture;

namespace {

// Drawn over the whole face to see whether a property write redraws it; no face uses it.
constexpr OleColor Marker = 0x00008080;
constexpr OleColor Blue = 0x00FF0000;
constexpr OleColor Red = 0x000000FF;

// The 22 entries of a stored button, in the order they are stored.
const QStringList StoredNames = {"AutoRedraw",
                                 "BackColor",
                                 "Font",
                                 "ForeColor",
                                 "MouseIcon",
                                 "MousePointer",
                                 "Picture",
                                 "Caption",
                                 "Delta",
                                 "LightBorderColor",
                                 "DarkBorderColor",
                                 "Alignment",
                                 "SelectedPicture",
                                 "PressedPicture",
                                 "FontSelected",
                                 "FontPressed",
                                 "ForeColorSelected",
                                 "ForeColorPressed",
                                 "Switch",
                                 "Value",
                                 "Shift",
                                 "ToolTipText"};

StdFont fontOf(const QString &name, double size, qint16 weight = 400, bool italic = false)
{
    StdFont font;
    font.name = name;
    font.size = size;
    font.weight = weight;
    font.italic = italic;
    return font;
}

StdPicture pictureOf(QColor color, int width, int height)
{
    return StdPicture::fromImage(imagetools::solidImage(width, height, color));
}

QVariant colour(OleColor value)
{
    return QVariant::fromValue<quint32>(value);
}

QVariant integer(qint16 value)
{
    return QVariant::fromValue<qint16>(value);
}

QVariant boolean(bool value)
{
    return QVariant(value);
}

QVariant font(const StdFont &value)
{
    return QVariant::fromValue(value);
}

QVariant picture(const StdPicture &value)
{
    return QVariant::fromValue(value);
}

// The container font: distinct from the application's, so that the ambient font is recognised.
QFont containerFont()
{
    QFont font(QStringLiteral("Liberation Serif"));
    font.setPointSizeF(9);
    return font;
}

PictureBox *surface(const LumoButton &button, const char *name)
{
    return button.findChild<PictureBox *>(QString::fromLatin1(name));
}

// A stored entry's value as the button holds it.
QVariant valueOf(const LumoButton &button, const QString &name)
{
    if (name == QLatin1String("AutoRedraw"))
        return surface(button, "picButton")->AutoRedraw();
    return button.property(name.toLatin1().constData());
}

bool same(const QVariant &a, const QVariant &b)
{
    if (a.typeId() == qMetaTypeId<StdFont>() && b.typeId() == qMetaTypeId<StdFont>())
        return a.value<StdFont>() == b.value<StdFont>();
    if (a.typeId() == qMetaTypeId<StdPicture>() && b.typeId() == qMetaTypeId<StdPicture>())
        return a.value<StdPicture>() == b.value<StdPicture>();
    return a.typeId() == b.typeId() && a == b;
}

QString describe(const QVariant &v)
{
    if (v.typeId() == qMetaTypeId<StdFont>()) {
        const StdFont f = v.value<StdFont>();
        return QStringLiteral("font %1 %2 %3").arg(f.name).arg(f.size).arg(f.weight);
    }
    if (v.typeId() == qMetaTypeId<StdPicture>()) {
        const StdPicture p = v.value<StdPicture>();
        return p.isNull()
                   ? QStringLiteral("no picture")
                   : QStringLiteral("picture %1x%2").arg(p.size().width()).arg(p.size().height());
    }
    if (v.typeId() == QMetaType::UInt)
        return QStringLiteral("&H%1").arg(v.toUInt(), 8, 16, QChar(u'0')).toUpper();
    return QStringLiteral("%1 (%2)").arg(v.toString(), QString::fromLatin1(v.typeName()));
}

#define COMPARE_VALUE(name, actual, expected)                                                      \
    QVERIFY2(same(actual, expected),                                                               \
             qPrintable(QStringLiteral("%1: %2, expected %3")                                      \
                            .arg(name, describe(actual), describe(expected))))

// A stored set in which every entry differs from a new button's value: the entry as stored and
// the value the button then holds.
struct StoredEntry
{
    QString name;
    QVariant stored;
    QVariant loaded;
};

QList<StoredEntry> fullStoredSet()
{
    return {
        {"AutoRedraw", boolean(false), boolean(false)},
        {"BackColor", colour(Blue), colour(Blue)},
        {"Font", font(fontOf("DejaVu Serif", 12, 700)), font(fontOf("DejaVu Serif", 12, 700))},
        {"ForeColor", colour(Red), colour(Red)},
        {"MouseIcon", picture(pictureOf(Qt::cyan, 16, 16)), picture(pictureOf(Qt::cyan, 16, 16))},
        {"MousePointer", integer(11), integer(11)},
        {"Picture", picture(pictureOf(Qt::green, 20, 10)), picture(pictureOf(Qt::green, 20, 10))},
        {"Caption", QStringLiteral("Stored caption"), QStringLiteral("Stored caption")},
        {"Delta", integer(90), integer(90)},
        {"LightBorderColor", colour(0x00C0C0C0), colour(0x00C0C0C0)},
        {"DarkBorderColor", colour(0x00404040), colour(0x00404040)},
        {"Alignment", integer(2), integer(2)},
        {"SelectedPicture", picture(pictureOf(Qt::yellow, 6, 6)),
         picture(pictureOf(Qt::yellow, 6, 6))},
        {"PressedPicture", picture(pictureOf(Qt::magenta, 6, 6)),
         picture(pictureOf(Qt::magenta, 6, 6))},
        {"FontSelected", font(fontOf("DejaVu Sans", 9, 400, true)),
         font(fontOf("DejaVu Sans", 9, 400, true))},
        {"FontPressed", font(fontOf("DejaVu Sans Mono", 10)), font(fontOf("DejaVu Sans Mono", 10))},
        {"ForeColorSelected", colour(0x0000FF00), colour(0x0000FF00)},
        {"ForeColorPressed", colour(0x00FFFF00), colour(0x00FFFF00)},
        // Booleans as a stored definition holds them: True is -1.
        {"Switch", integer(-1), boolean(true)},
        {"Value", integer(-1), boolean(true)},
        {"Shift", integer(30), integer(30)},
        {"ToolTipText", QStringLiteral("stored tip"), QStringLiteral("stored tip")},
    };
}

enum class Mode { Run, Design };

// A button inside a container, as a window holds it; the container's font is the ambient font.
struct Host
{
    explicit Host(Mode mode)
    {
        container.setFont(containerFont());
        if (mode == Mode::Design)
            container.setProperty(forms::UserControl::UserModeProperty, false);
        button = new LumoButton(&container);
        button->Move(0, 0, 1800, 900);
    }

    StdFont ambient() const { return StdFont::fromQFont(container.font()); }
    PictureBox *face() const { return surface(*button, "picButton"); }

    // Covers the visible face with the marker colour.
    void mark() const
    {
        face()->Line(0, 0, face()->ScaleWidth(), face()->ScaleHeight(), Marker);
        QCOMPARE(imagetools::countOf(face()->Image(), forms::toQColor(Marker)),
                 face()->Image().width() * face()->Image().height());
    }

    QWidget container;
    LumoButton *button = nullptr;
};

int errorOf(const std::function<void()> &call)
{
    try {
        call();
    } catch (const RuntimeError &error) {
        return error.number();
    }
    return 0;
}

QStringList namesIn(const PropertyBag &bag)
{
    QStringList names;
    for (const PropertyBag::Entry &entry : bag.entries())
        names << entry.name;
    return names;
}

QStringList reported(const QSignalSpy &spy)
{
    QStringList names;
    for (const QList<QVariant> &arguments : spy)
        names << arguments.at(0).toString();
    return names;
}

} // namespace

class tst_LumoButtonProperties : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void newButton_data();
    void newButton();
    void newButtonIsSetSilently();
    void savingNewButton();

    void emptyStoredSet_data();
    void emptyStoredSet();
    void fullSetRoundTrips();
    void readingReportsTheSetterEntries();
    void namesMatchWithoutCase_data();
    void namesMatchWithoutCase();
    void readStopsAtBadEntry_data();
    void readStopsAtBadEntry();

    void settersReportAndRedraw_data();
    void settersReportAndRedraw();
    void coloursReadBackAsSet_data();
    void coloursReadBackAsSet();
    void designTimeOnly_data();
    void designTimeOnly();
    void descriptionForDesigners_data();
    void descriptionForDesigners();
};

void tst_LumoButtonProperties::initTestCase()
{
    QCOMPARE(forms::TwipsPerPixelX(), 15.0f);
    // The ambient font must not be the application's, or the checks below could not tell them.
    QVERIFY(StdFont::fromQFont(containerFont()) != StdFont::fromQFont(QApplication::font()));
}

// ---- A new button --------------------------------------------------------------------------

void tst_LumoButtonProperties::newButton_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QVariant>("expected");
    QTest::newRow("Caption") << "Caption" << QVariant(QStringLiteral("LumoButton"));
    QTest::newRow("Delta") << "Delta" << integer(45);
    QTest::newRow("LightBorderColor") << "LightBorderColor" << colour(0x00FFFFFF);
    QTest::newRow("DarkBorderColor") << "DarkBorderColor" << colour(0x00808080);
    QTest::newRow("Alignment") << "Alignment" << integer(0);
    QTest::newRow("ForeColorSelected") << "ForeColorSelected" << colour(0);
    QTest::newRow("ForeColorPressed") << "ForeColorPressed" << colour(0);
    QTest::newRow("Switch") << "Switch" << boolean(false);
    QTest::newRow("Value") << "Value" << boolean(false);
    QTest::newRow("Shift") << "Shift" << integer(15);
    QTest::newRow("ForeColor") << "ForeColor" << colour(0x80000008);
    QTest::newRow("BackColor") << "BackColor" << colour(0x8000000F);
    QTest::newRow("ToolTipText") << "ToolTipText" << QVariant(QStringLiteral("this is the test"));
    QTest::newRow("MousePointer") << "MousePointer" << integer(0);
    QTest::newRow("MouseIcon") << "MouseIcon" << picture({});
    QTest::newRow("Picture") << "Picture" << picture({});
    QTest::newRow("SelectedPicture") << "SelectedPicture" << picture({});
    QTest::newRow("PressedPicture") << "PressedPicture" << picture({});
    QTest::newRow("AutoRedraw") << "AutoRedraw" << boolean(true);
    QTest::newRow("FontSelected") << "FontSelected" << QVariant(); // the ambient font
    QTest::newRow("FontPressed") << "FontPressed" << QVariant();
}

void tst_LumoButtonProperties::newButton()
{
    QFETCH(QString, name);
    QFETCH(QVariant, expected);
    Host host(Mode::Design);
    host.button->InitProperties();
    if (!expected.isValid())
        expected = font(host.ambient());
    COMPARE_VALUE(name, valueOf(*host.button, name), expected);
}

void tst_LumoButtonProperties::newButtonIsSetSilently()
{
    Host host(Mode::Design);
    host.mark();
    QSignalSpy changes(host.button, &LumoButton::propertyChanged);
    host.button->InitProperties();
    QCOMPARE(reported(changes), QStringList());
    QCOMPARE(imagetools::countOf(host.face()->Image(), forms::toQColor(Marker)),
             host.face()->Image().width() * host.face()->Image().height());
}

void tst_LumoButtonProperties::savingNewButton()
{
    Host host(Mode::Design);
    host.button->InitProperties();
    QSignalSpy changes(host.button, &LumoButton::propertyChanged);
    PropertyBag bag;
    host.button->WriteProperties(bag);

    QCOMPARE(namesIn(bag), QStringList({"AutoRedraw", "ForeColor", "ToolTipText"}));
    // AutoRedraw is stored as the Boolean True, -1.
    QCOMPARE(forms::toInteger(bag.ReadProperty("AutoRedraw")), qint16(-1));
    QCOMPARE(forms::toColor(bag.ReadProperty("ForeColor")), OleColor(0x80000008));
    QCOMPARE(forms::toText(bag.ReadProperty("ToolTipText")), QStringLiteral("this is the test"));
    // Saving changes nothing in the button.
    QCOMPARE(reported(changes), QStringList());
    QCOMPARE(host.button->Caption(), QStringLiteral("LumoButton"));
}

// ---- Reading a stored set ------------------------------------------------------------------

void tst_LumoButtonProperties::emptyStoredSet_data()
{
    QTest::addColumn<bool>("loadedBefore");
    QTest::addColumn<int>("mode");
    QTest::newRow("new button, running") << false << int(Mode::Run);
    QTest::newRow("new button, designed") << false << int(Mode::Design);
    // Every entry is assigned, from the bag or from its default: nothing earlier survives.
    QTest::newRow("over a loaded button") << true << int(Mode::Run);
}

void tst_LumoButtonProperties::emptyStoredSet()
{
    QFETCH(bool, loadedBefore);
    QFETCH(int, mode);
    Host host{Mode(mode)};
    if (loadedBefore) {
        PropertyBag full;
        for (const StoredEntry &entry : fullStoredSet())
            full.append(entry.name, entry.stored);
        host.button->ReadProperties(full);
    }
    host.button->ReadProperties(PropertyBag());

    const LumoButton &b = *host.button;
    const QList<std::pair<QString, QVariant>> expected = {
        {"AutoRedraw", boolean(false)},
        {"BackColor", colour(0x8000000F)},
        {"Font", font(host.ambient())},
        {"ForeColor", colour(0x80000012)},
        {"MouseIcon", picture({})},
        {"MousePointer", integer(0)},
        {"Picture", picture({})},
        {"Caption", QStringLiteral("LumoButton")},
        {"Delta", integer(45)},
        {"LightBorderColor", colour(0x00FFFFFF)},
        {"DarkBorderColor", colour(0x00808080)},
        {"Alignment", integer(0)},
        {"SelectedPicture", picture({})},
        {"PressedPicture", picture({})},
        {"FontSelected", font(host.ambient())},
        {"FontPressed", font(host.ambient())},
        {"ForeColorSelected", colour(0)},
        {"ForeColorPressed", colour(0)},
        {"Switch", boolean(false)},
        {"Value", boolean(false)},
        {"Shift", integer(15)},
        {"ToolTipText", QString()},
    };
    QCOMPARE(expected.size(), StoredNames.size());
    for (const auto &[name, value] : expected)
        COMPARE_VALUE(name, valueOf(b, name), value);
    QCOMPARE(b.ToolTipText(), QString());

    // The table the button reads and writes by holds these entries, each (but AutoRedraw, which
    // only its surface has) a property of the button in the type it is stored as: a misspelt
    // row would be read through a setter that does not exist, and silently skipped.
    const auto table = LumoButtonProperties::all();
    QCOMPARE(qsizetype(table.size()), StoredNames.size());
    for (qsizetype i = 0; i < StoredNames.size(); ++i) {
        const LumoButtonProperty &row = table[size_t(i)];
        QCOMPARE(QString::fromLatin1(row.name), StoredNames[i]);
        if (StoredNames[i] == QLatin1String("AutoRedraw"))
            continue;
        const QVariant declared = b.property(row.name);
        QVERIFY2(declared.isValid(), row.name);
        QCOMPARE(declared.metaType(), row.value(b).metaType());
    }

    // Both surfaces carry the loaded colours.
    QCOMPARE(surface(b, "picBuffer")->BackColor(), OleColor(0x8000000F));
    QCOMPARE(surface(b, "picBuffer")->ForeColor(), OleColor(0x80000012));
}

void tst_LumoButtonProperties::fullSetRoundTrips()
{
    // A button given a value other than its default in every entry, while designed.
    Host designed(Mode::Design);
    designed.button->InitProperties();
    for (const StoredEntry &entry : fullStoredSet()) {
        if (entry.name == QLatin1String("AutoRedraw"))
            continue; // a new button's AutoRedraw, on, is already not the stored default
        QVERIFY2(designed.button->setProperty(entry.name.toLatin1().constData(), entry.loaded),
                 qPrintable(entry.name));
    }
    PropertyBag bag;
    designed.button->WriteProperties(bag);
    QCOMPARE(namesIn(bag), StoredNames);

    // Created from that set in a running window, with an ambient font of its own.
    Host running(Mode::Run);
    QFont otherFont(QStringLiteral("DejaVu Sans"));
    otherFont.setPointSizeF(14);
    running.container.setFont(otherFont);
    running.button->ReadProperties(bag);
    for (const QString &name : StoredNames)
        COMPARE_VALUE(name, valueOf(*running.button, name), valueOf(*designed.button, name));
    QCOMPARE(surface(*running.button, "picBuffer")->BackColor(), OleColor(Blue));
    QCOMPARE(surface(*running.button, "picBuffer")->ForeColor(), OleColor(Red));

    // Saved again, it stores the same set.
    PropertyBag again;
    running.button->WriteProperties(again);
    QCOMPARE(namesIn(again), StoredNames);
    for (const QString &name : StoredNames) {
        QVERIFY2(PropertyBag::sameValue(again.ReadProperty(name), bag.ReadProperty(name)),
                 qPrintable(name));
    }
}

void tst_LumoButtonProperties::readingReportsTheSetterEntries()
{
    Host host(Mode::Run);
    PropertyBag bag;
    for (const StoredEntry &entry : fullStoredSet())
        bag.append(entry.name, entry.stored);
    QSignalSpy changes(host.button, &LumoButton::propertyChanged);
    host.button->ReadProperties(bag);
    // Three entries go through their property's own setter; the rest are loaded directly.
    QCOMPARE(reported(changes), QStringList({"Font", "MouseIcon", "Picture"}));

    changes.clear();
    host.button->ReadProperties(PropertyBag());
    QCOMPARE(reported(changes), QStringList({"Font", "MouseIcon", "Picture"}));
}

void tst_LumoButtonProperties::namesMatchWithoutCase_data()
{
    QTest::addColumn<int>("spelling");
    QTest::newRow("as the button writes them") << 0;
    QTest::newRow("lower case, as window definitions hold them") << 1;
    QTest::newRow("upper case") << 2;
}

void tst_LumoButtonProperties::namesMatchWithoutCase()
{
    QFETCH(int, spelling);
    PropertyBag bag;
    for (const StoredEntry &entry : fullStoredSet()) {
        const QString name = spelling == 0   ? entry.name
                             : spelling == 1 ? entry.name.toLower()
                                             : entry.name.toUpper();
        bag.append(name, entry.stored);
    }
    Host host(Mode::Run);
    host.button->ReadProperties(bag);
    for (const StoredEntry &entry : fullStoredSet())
        COMPARE_VALUE(entry.name, valueOf(*host.button, entry.name), entry.loaded);
}

void tst_LumoButtonProperties::readStopsAtBadEntry_data()
{
    QTest::addColumn<QString>("badEntry");
    QTest::addColumn<QVariant>("badValue");
    QTest::addColumn<int>("error");
    QTest::newRow("Delta not a number") << "Delta" << QVariant(QStringLiteral("abc")) << 13;
    QTest::newRow("Delta out of 16 bits") << "Delta" << QVariant(70000) << 6;
    QTest::newRow("first entry") << "AutoRedraw" << QVariant(QStringLiteral("abc")) << 13;
    QTest::newRow("BackColor a word") << "BackColor" << QVariant(QStringLiteral("blue")) << 13;
    QTest::newRow("Font a text") << "Font" << QVariant(QStringLiteral("Arial")) << 13;
    QTest::newRow("MousePointer out of 16 bits") << "MousePointer" << QVariant(40000) << 6;
    // A value of the right type that the face refuses.
    QTest::newRow("MousePointer not a pointer shape") << "MousePointer" << integer(50) << 380;
    QTest::newRow("Picture a number") << "Picture" << QVariant(5) << 13;
    QTest::newRow("Caption a font") << "Caption" << font(fontOf("Arial", 8)) << 13;
    QTest::newRow("LightBorderColor a word")
        << "LightBorderColor" << QVariant(QStringLiteral("x")) << 13;
    QTest::newRow("Alignment out of 16 bits") << "Alignment" << QVariant(70000) << 6;
    QTest::newRow("FontPressed a number") << "FontPressed" << integer(1) << 13;
    QTest::newRow("Switch a word") << "Switch" << QVariant(QStringLiteral("maybe")) << 13;
    QTest::newRow("Shift just out of 16 bits") << "Shift" << QVariant(32768) << 6;
    QTest::newRow("last entry") << "ToolTipText" << picture(pictureOf(Qt::red, 2, 2)) << 13;
}

void tst_LumoButtonProperties::readStopsAtBadEntry()
{
    QFETCH(QString, badEntry);
    QFETCH(QVariant, badValue);
    QFETCH(int, error);

    Host host(Mode::Run);
    host.button->InitProperties();
    QMap<QString, QVariant> before;
    for (const QString &name : StoredNames)
        before[name] = valueOf(*host.button, name);

    const QList<StoredEntry> set = fullStoredSet();
    PropertyBag bag;
    for (const StoredEntry &entry : set)
        bag.append(entry.name, entry.name == badEntry ? badValue : entry.stored);
    QCOMPARE(errorOf([&] { host.button->ReadProperties(bag); }), error);

    bool reached = false;
    for (const StoredEntry &entry : set) {
        // Every stored value differs from the new button's, so each check below can fail.
        QVERIFY2(!same(entry.loaded, before[entry.name]), qPrintable(entry.name));
        reached = reached || entry.name == badEntry;
        const QVariant actual = valueOf(*host.button, entry.name);
        if (!reached)
            COMPARE_VALUE(entry.name, actual, entry.loaded); // read before the failure
        else
            COMPARE_VALUE(entry.name, actual, before[entry.name]); // never reached
    }
    QVERIFY(reached);
}

// ---- Property writes -----------------------------------------------------------------------

void tst_LumoButtonProperties::settersReportAndRedraw_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<bool>("redraws");
    QTest::newRow("BackColor") << "BackColor" << colour(0x00FFFF00) << true;
    QTest::newRow("Font") << "Font" << font(fontOf("DejaVu Serif", 12)) << true;
    QTest::newRow("ForeColor") << "ForeColor" << colour(0x00FFFFFF) << true;
    QTest::newRow("MouseIcon") << "MouseIcon" << picture(pictureOf(Qt::cyan, 16, 16)) << false;
    QTest::newRow("MousePointer") << "MousePointer" << integer(2) << false;
    QTest::newRow("Picture") << "Picture" << picture(pictureOf(Qt::green, 20, 10)) << true;
    QTest::newRow("Caption") << "Caption" << QVariant(QStringLiteral("Other")) << true;
    QTest::newRow("Delta") << "Delta" << integer(90) << true;
    QTest::newRow("LightBorderColor") << "LightBorderColor" << colour(0x00C0C0C0) << false;
    QTest::newRow("DarkBorderColor") << "DarkBorderColor" << colour(0x00404040) << false;
    QTest::newRow("Alignment") << "Alignment" << integer(2) << true;
    QTest::newRow("SelectedPicture")
        << "SelectedPicture" << picture(pictureOf(Qt::yellow, 6, 6)) << false;
    QTest::newRow("PressedPicture")
        << "PressedPicture" << picture(pictureOf(Qt::magenta, 6, 6)) << false;
    QTest::newRow("FontSelected") << "FontSelected" << font(fontOf("DejaVu Sans", 14)) << false;
    QTest::newRow("FontPressed") << "FontPressed" << font(fontOf("DejaVu Sans", 14)) << false;
    QTest::newRow("ForeColorSelected") << "ForeColorSelected" << colour(0x0000FF00) << false;
    QTest::newRow("ForeColorPressed") << "ForeColorPressed" << colour(0x0000FF00) << false;
    QTest::newRow("Switch") << "Switch" << boolean(true) << false;
    QTest::newRow("Value") << "Value" << boolean(true) << false;
    QTest::newRow("Shift") << "Shift" << integer(30) << false;
    QTest::newRow("ToolTipText") << "ToolTipText" << QVariant(QStringLiteral("tip")) << false;
}

void tst_LumoButtonProperties::settersReportAndRedraw()
{
    QFETCH(QString, name);
    QFETCH(QVariant, value);
    QFETCH(bool, redraws);

    Host host(Mode::Design);
    host.button->InitProperties();
    host.button->setBackColor(Blue);
    host.button->setForeColor(Red);
    QVERIFY(!same(valueOf(*host.button, name), value));
    host.mark();
    const QImage marked = host.face()->Image();

    QSignalSpy changes(host.button, &LumoButton::propertyChanged);
    QVERIFY(host.button->setProperty(name.toLatin1().constData(), value));
    QCOMPARE(reported(changes), QStringList(name));
    COMPARE_VALUE(name, valueOf(*host.button, name), value);

    const QImage shown = host.face()->Image();
    if (redraws) {
        // The face is the plain face with the new value, as Refresh draws it now.
        QCOMPARE(imagetools::countOf(shown, forms::toQColor(Marker)), 0);
        host.button->Refresh();
        QVERIFY(imagetools::samePixels(shown, host.face()->Image()));
    } else {
        QVERIFY(imagetools::samePixels(shown, marked));
    }
}

void tst_LumoButtonProperties::coloursReadBackAsSet_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<quint32>("value");
    QTest::newRow("BackColor button face") << "BackColor" << quint32(0x8000000F);
    QTest::newRow("BackColor ordinary") << "BackColor" << quint32(0x00123456);
    QTest::newRow("ForeColor button text") << "ForeColor" << quint32(0x80000012);
    QTest::newRow("ForeColor window text") << "ForeColor" << quint32(0x80000008);
    QTest::newRow("LightBorderColor 3-D highlight") << "LightBorderColor" << quint32(0x80000014);
    QTest::newRow("DarkBorderColor 3-D shadow") << "DarkBorderColor" << quint32(0x80000010);
    QTest::newRow("ForeColorSelected title bar") << "ForeColorSelected" << quint32(0x80000002);
    QTest::newRow("ForeColorPressed white") << "ForeColorPressed" << quint32(0x00FFFFFF);
}

void tst_LumoButtonProperties::coloursReadBackAsSet()
{
    QFETCH(QString, name);
    QFETCH(quint32, value);
    const QByteArray property = name.toLatin1();
    Host host(Mode::Design);
    host.button->InitProperties();
    // First something else, so that the value really is written.
    QVERIFY(host.button->setProperty(property.constData(), colour(0x00010203)));
    QVERIFY(host.button->setProperty(property.constData(), colour(value)));
    QCOMPARE(host.button->property(property.constData()).value<quint32>(), value);
    // Its Qt-typed view shows the colour the faces are drawn in, the desktop's for a system one.
    QCOMPARE(host.button->property("qt" + property).value<QColor>(),
             forms::toQColor(value, host.button->palette()));
    if (name == QLatin1String("BackColor"))
        QCOMPARE(surface(*host.button, "picBuffer")->BackColor(), value);
    if (name == QLatin1String("ForeColor"))
        QCOMPARE(surface(*host.button, "picBuffer")->ForeColor(), value);

    // And through a save and a load.
    PropertyBag bag;
    host.button->WriteProperties(bag);
    Host loaded(Mode::Run);
    loaded.button->ReadProperties(bag);
    QCOMPARE(loaded.button->property(property.constData()).value<quint32>(), value);
}

void tst_LumoButtonProperties::designTimeOnly_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("where");  // which ancestor says "UserMode", and what
    QTest::addColumn<bool>("designing"); // what the button must conclude
    QTest::addColumn<bool>("shown");     // whether the window has shown before the setting
    const QStringList names = {"Alignment", "Switch", "Shift", "Value"};
    for (const QString &name : names) {
        const QByteArray n = name.toLatin1();
        QTest::addRow("%s, no container says", n.constData()) << name << "" << false << false;
        QTest::addRow("%s, container running", n.constData())
            << name << "parent:true" << false << false;
        QTest::addRow("%s, container designed", n.constData())
            << name << "parent:false" << true << false;
        QTest::addRow("%s, outer container designed", n.constData())
            << name << "grandparent:false" << true << false;
    }
    // The views a .ui file sets also take a value while a running window is being built, and
    // only then.
    for (const char *view : {"qtAlignment", "qtSwitch", "qtShift"}) {
        QTest::addRow("%s, running window being built", view)
            << view << "parent:true" << false << false;
        QTest::addRow("%s, no container says, being built", view) << view << "" << false << false;
        QTest::addRow("%s, running window shown", view) << view << "parent:true" << false << true;
        QTest::addRow("%s, designed window shown", view) << view << "parent:false" << true << true;
    }
}

void tst_LumoButtonProperties::designTimeOnly()
{
    QFETCH(QString, name);
    QFETCH(QString, where);
    QFETCH(bool, designing);
    QFETCH(bool, shown);

    QWidget grandparent;
    QWidget *parent = new QWidget(&grandparent);
    for (const QString &setting : where.split(u' ', Qt::SkipEmptyParts)) {
        QWidget *holder = setting.startsWith(u"parent") ? parent : &grandparent;
        holder->setProperty(forms::UserControl::UserModeProperty, setting.endsWith(u"true"));
    }
    LumoButton *button = new LumoButton(parent);
    button->Move(0, 0, 1800, 900);
    button->InitProperties();
    QCOMPARE(button->UserMode(), !designing);
    if (shown) {
        grandparent.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grandparent));
    }

    PictureBox *face = surface(*button, "picButton");
    face->Line(0, 0, face->ScaleWidth(), face->ScaleHeight(), Marker);
    const QImage marked = face->Image();
    const QVariant before = valueOf(*button, name);
    QSignalSpy changes(button, &LumoButton::propertyChanged);

    const int error = errorOf([&] {
        if (name == QLatin1String("Alignment"))
            button->setAlignment(2);
        else if (name == QLatin1String("Switch"))
            button->setSwitch(true);
        else if (name == QLatin1String("Shift"))
            button->setShift(30);
        else if (name == QLatin1String("qtAlignment"))
            button->setQtAlignment(2);
        else if (name == QLatin1String("qtSwitch"))
            button->setQtSwitch(true);
        else if (name == QLatin1String("qtShift"))
            button->setQtShift(30);
        else
            button->setValue(true);
    });

    const bool view = name.startsWith(u"qt");
    const QString stored = view ? name.mid(2) : name;
    const bool restricted = name != QLatin1String("Value");
    if (restricted && !designing && !(view && !shown)) {
        QCOMPARE(error, int(forms::DesignTimeOnly));
        COMPARE_VALUE(name, valueOf(*button, name), before);
        QCOMPARE(reported(changes), QStringList());
        QVERIFY(imagetools::samePixels(face->Image(), marked)); // no redraw
    } else {
        QCOMPARE(error, 0);
        QVERIFY(!same(valueOf(*button, name), before));
        QCOMPARE(reported(changes), QStringList(stored));
    }
}

void tst_LumoButtonProperties::descriptionForDesigners_data()
{
    QTest::addColumn<QString>("member");
    QTest::addColumn<QString>("help");
    QTest::addColumn<QString>("page");
    const QString graphic = QStringLiteral("Returns/sets a graphic to be displayed in a control.");
    QTest::newRow("BackColor") << "BackColor"
                               << "Returns/sets the background color used to display text and "
                                  "graphics in an object."
                               << "";
    QTest::newRow("Font") << "Font"
                          << "Returns a Font object."
                          << "";
    QTest::newRow("MouseIcon") << "MouseIcon"
                               << "Sets a custom mouse icon."
                               << "";
    QTest::newRow("MousePointer") << "MousePointer"
                                  << "Returns/sets the type of mouse pointer displayed when over "
                                     "part of an object."
                                  << "Button";
    for (const char *picture : {"Picture", "SelectedPicture", "PressedPicture"})
        QTest::newRow(picture) << picture << graphic << "";
    QTest::newRow("ToolTipText")
        << "ToolTipText"
        << "Returns/sets the text displayed when the mouse is paused over the control."
        << "";
    for (const char *paged : {"Caption", "Delta", "Alignment", "Switch", "Value"})
        QTest::newRow(paged) << paged << ""
                             << "Button";
    QTest::newRow("Click") << "Click"
                           << "Occurs when the user presses and then releases a mouse button "
                              "over an object."
                           << "";
    QTest::newRow("KeyPress") << "KeyPress"
                              << "Occurs when the user presses and releases an ANSI key."
                              << "";
    QTest::newRow("Shift") << "Shift"
                           << ""
                           << "";
    QTest::newRow("LightBorderColor") << "LightBorderColor"
                                      << ""
                                      << "";
}

// What a designer reads about the control: its pages in order, and for some members a help text
// and the page that edits them.
void tst_LumoButtonProperties::descriptionForDesigners()
{
    QFETCH(QString, member);
    QFETCH(QString, help);
    QFETCH(QString, page);
    const QMetaObject &meta = LumoButton::staticMetaObject;
    auto info = [&](const QString &key) {
        const int i = meta.indexOfClassInfo(key.toLatin1().constData());
        return i < 0 ? QString() : QString::fromLatin1(meta.classInfo(i).value());
    };
    QCOMPARE(info("PropertyPages"),
             QStringLiteral("StandardFont,StandardPicture,StandardColor,Button"));
    QCOMPARE(info("Help:" + member), help);
    QCOMPARE(info("Page:" + member), page);
}

QTEST_MAIN(tst_LumoButtonProperties)
#include "tst_lumobutton_properties.moc"
