// Border, the sunken separator: its fixed height, its two lines across the width, its colours and
// how they are stored and loaded.

#include "border.h"
#include "colors.h"
#include "conversions.h"
#include "propertybag.h"
#include "runtimeerror.h"
#include "stdfont.h"
#include "twips.h"

#include <QApplication>
#include <QBackingStore>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>

namespace {

constexpr forms::OleColor Shadow = 0x80000010;    // system colour 16, 3-D shadow
constexpr forms::OleColor Highlight = 0x80000014; // system colour 20, 3-D highlight
constexpr forms::OleColor Red = 0x0000FF;
constexpr forms::OleColor Blue = 0xFF0000;

// The desktop colours the system colours resolve to, distinct from each other.
const QColor DarkRole(0x40, 0x30, 0x20);
const QColor LightRole(0xE0, 0xD0, 0xC0);
const QColor ButtonRole(0x90, 0xA0, 0xB0);

QVariant colour(forms::OleColor value)
{
    return QVariant::fromValue<quint32>(value);
}

// A container that places its separator as a window does when resized: at the top, across the
// full width, and (as any stored height would) 300 twips high.
class Container : public QWidget
{
public:
    Border *border = new Border(this);

protected:
    void resizeEvent(QResizeEvent *) override
    {
        border->Move(0, 0, forms::pixelsToTwipsX(float(width())), 300);
    }
};

class ResizeCounter : public QObject
{
public:
    QList<QSize> sizes;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Resize)
            sizes << static_cast<QResizeEvent *>(event)->size();
        return false;
    }
};

// What the window's backing store shows of the border where it lies inside the window, one row
// per device pixel row (on a scaled screen a pixel is several device pixels).
QImage shownBorder(QWidget &window, Border *border)
{
    const auto *shown = static_cast<const QImage *>(window.backingStore()->paintDevice());
    const qreal ratio = shown->devicePixelRatio();
    const QRect area =
        QRect(border->mapTo(&window, QPoint(0, 0)), border->size()).intersected(window.rect());
    const QPoint start(qRound(area.left() * ratio), qRound(area.top() * ratio));
    const QPoint end(qRound((area.right() + 1) * ratio), qRound((area.bottom() + 1) * ratio));
    return shown->copy(QRect(start, end - QPoint(1, 1)));
}

// Empty when every pixel of the row has exactly this colour; otherwise the first that differs.
QString rowMismatch(const QImage &image, int y, const QColor &expected)
{
    if (image.width() == 0 || y >= image.height())
        return QStringLiteral("nothing shown");
    for (int x = 0; x < image.width(); ++x) {
        const QColor actual(image.pixel(x, y));
        if (actual != expected) {
            return QStringLiteral("row %1, x %2: %3 instead of %4")
                .arg(y)
                .arg(x)
                .arg(actual.name(), expected.name());
        }
    }
    return QString();
}

} // namespace

class tst_Border : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void heightIsFixed_data();
    void heightIsFixed();
    void containerSizesIt();
    void linesSpanTheWidth_data();
    void linesSpanTheWidth();
    void systemColoursFollowTheDesktop();
    void coloursReadBack_data();
    void coloursReadBack();
    void settingOneColour_data();
    void settingOneColour();
    void writeProperties_data();
    void writeProperties();
    void readProperties_data();
    void readProperties();
    void wrongTypeStopsLoading_data();
    void wrongTypeStopsLoading();
};

void tst_Border::initTestCase()
{
    QCOMPARE(forms::TwipsPerPixelY(), 15.0f);
    QPalette palette = QApplication::palette();
    for (auto group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::Dark, DarkRole);
        palette.setColor(group, QPalette::Light, LightRole);
        palette.setColor(group, QPalette::Button, ButtonRole);
    }
    QApplication::setPalette(palette);
}

void tst_Border::heightIsFixed_data()
{
    QTest::addColumn<float>("width");
    QTest::addColumn<float>("height");
    QTest::addColumn<bool>("shown");
    for (bool shown : {false, true}) {
        const char *state = shown ? "shown" : "hidden";
        QTest::addRow("%s, 300 high", state) << 4650.0f << 300.0f << shown;
        QTest::addRow("%s, 0 high", state) << 4650.0f << 0.0f << shown;
        QTest::addRow("%s, 15 high", state) << 1500.0f << 15.0f << shown;
        QTest::addRow("%s, 61 high", state) << 4515.0f << 61.0f << shown;
        QTest::addRow("%s, already 60 high", state) << 4695.0f << 60.0f << shown;
        QTest::addRow("%s, 3600 high", state) << 7440.0f << 3600.0f << shown;
    }
}

void tst_Border::heightIsFixed()
{
    QFETCH(float, width);
    QFETCH(float, height);
    QFETCH(bool, shown);
    QWidget window;
    window.resize(600, 400);
    auto *border = new Border(&window);
    QCOMPARE(border->Height(), 60.0f); // from creation on
    if (shown) {
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
    }
    border->Move(90, 120, width, height);
    QCOMPARE(border->Height(), 60.0f);
    QCOMPARE(border->height(), 4);
    QCOMPARE(border->Width(), width);
    QCOMPARE(border->Left(), 90.0f);
    QCOMPARE(border->Top(), 120.0f);
    border->setHeight(height);
    QCOMPARE(border->Height(), 60.0f);
}

// A container that sizes the separator to 300 twips on every resize ends with 60, and the nested
// resize that the height correction causes changes nothing more.
void tst_Border::containerSizesIt()
{
    Container window;
    ResizeCounter counter;
    window.border->installEventFilter(&counter);
    window.resize(310, 200);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.border->Height(), 60.0f);
    QCOMPARE(window.border->Width(), 310 * 15.0f);

    for (int width : {250, 400, 37}) {
        counter.sizes.clear();
        window.resize(width, 200);
        QCoreApplication::processEvents();
        QCOMPARE(counter.sizes, (QList<QSize>{QSize(width, 20), QSize(width, 4)}));
        QCOMPARE(window.border->geometry(), QRect(0, 0, width, 4));
        QCOMPARE(window.border->Height(), 60.0f);
        QCOMPARE(window.border->darkLine().X2, width * 15.0f);
        QCOMPARE(window.border->lightLine().X2, width * 15.0f);
    }
}

void tst_Border::linesSpanTheWidth_data()
{
    QTest::addColumn<float>("left");
    QTest::addColumn<float>("width");
    QTest::newRow("4650") << 45.0f << 4650.0f;
    QTest::newRow("1500") << 0.0f << 1500.0f;
    QTest::newRow("one pixel") << 90.0f << 15.0f;
    QTest::newRow("starting left of the window") << -90.0f << 4695.0f;
    QTest::newRow("wider than the window") << -90.0f << 12000.0f;
}

void tst_Border::linesSpanTheWidth()
{
    QFETCH(float, left);
    QFETCH(float, width);
    QWidget window;
    window.resize(400, 100);
    auto *border = new Border(&window);
    border->setDarkColor(Red);
    border->setLightColor(Blue);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    border->Move(left, 30, width, 300);

    const Border::LineObject &dark = border->darkLine();
    const Border::LineObject &light = border->lightLine();
    QCOMPARE(dark.X1, 0.0f);
    QCOMPARE(dark.X2, width);
    QCOMPARE(dark.Y1, 0.0f);
    QCOMPARE(dark.Y2, 0.0f);
    QCOMPARE(light.X1, 0.0f);
    QCOMPARE(light.X2, width);
    QCOMPARE(light.Y1, 15.0f);
    QCOMPARE(light.Y2, 15.0f);

    // On screen: the dark row on top, the light row right below it, each across the visible
    // width; the two rows below show the background. On a scaled screen each row is as many
    // whole device pixels as a pixel rounds to.
    QCoreApplication::processEvents();
    const QImage shown = shownBorder(window, border);
    const int t = std::max(1, qRound(window.devicePixelRatioF()));
    QVERIFY(shown.height() > 2 * t);
    for (int y = 0; y < shown.height(); ++y) {
        const QColor wanted = y < t       ? QColor(255, 0, 0)
                              : y < 2 * t ? QColor(0, 0, 255)
                                          : ButtonRole;
        QCOMPARE(rowMismatch(shown, y, wanted), QString());
    }
}

void tst_Border::systemColoursFollowTheDesktop()
{
    QWidget window;
    window.resize(300, 50);
    auto *border = new Border(&window);
    border->Move(0, 0, 3000);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(border->DarkColor(), Shadow);
    QCOMPARE(border->LightColor(), Highlight);
    const QImage shown = shownBorder(window, border);
    QCOMPARE(rowMismatch(shown, 0, DarkRole), QString());
    QCOMPARE(rowMismatch(shown, 1, LightRole), QString());
}

void tst_Border::coloursReadBack_data()
{
    QTest::addColumn<quint32>("value");
    QTest::newRow("black") << quint32(0);
    QTest::newRow("red") << quint32(Red);
    QTest::newRow("white") << quint32(0xFFFFFF);
    QTest::newRow("3-D shadow") << quint32(Shadow);
    QTest::newRow("3-D highlight") << quint32(Highlight);
    QTest::newRow("button face") << quint32(0x8000000F);
    QTest::newRow("all bits") << quint32(0xFFFFFFFF);
    QTest::newRow("stray high byte") << quint32(0x12345678);
}

// The value is kept exactly as set: no range check and no conversion.
void tst_Border::coloursReadBack()
{
    QFETCH(quint32, value);
    Border border;
    border.setDarkColor(value);
    QCOMPARE(border.DarkColor(), value);
    QCOMPARE(border.darkLine().BorderColor, value);
    border.setLightColor(value);
    QCOMPARE(border.LightColor(), value);
    QCOMPARE(border.lightLine().BorderColor, value);
    // The Qt-typed views show the colour the lines are drawn in.
    QCOMPARE(border.property("qtDarkColor").value<QColor>(),
             forms::toQColor(value, border.palette()));
    QCOMPARE(border.property("qtLightColor").value<QColor>(),
             forms::toQColor(value, border.palette()));

    Border byName;
    QVERIFY(byName.setProperty("DarkColor", QVariant::fromValue(value)));
    QVERIFY(byName.setProperty("LightColor", QVariant::fromValue(value)));
    QCOMPARE(byName.property("DarkColor").value<quint32>(), value);
    QCOMPARE(byName.property("LightColor").value<quint32>(), value);
}

void tst_Border::settingOneColour_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("light") << "LightColor";
    QTest::newRow("dark") << "DarkColor";
}

void tst_Border::settingOneColour()
{
    QFETCH(QString, name);
    const bool light = name == "LightColor";
    QWidget window;
    window.resize(300, 50);
    auto *border = new Border(&window);
    border->Move(0, 0, 3000);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QSignalSpy changed(border, &forms::UserControl::propertyChanged);

    if (light)
        border->setLightColor(Red);
    else
        border->setDarkColor(Red);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.at(0).at(0).toString(), name);
    QCOMPARE(border->LightColor(), light ? Red : Highlight);
    QCOMPARE(border->DarkColor(), light ? Shadow : Red);

    // The line shows its new colour by itself; the other line stays as it was.
    QTRY_COMPARE(rowMismatch(shownBorder(window, border), light ? 1 : 0, QColor(255, 0, 0)),
                 QString());
    const QImage shown = shownBorder(window, border);
    QCOMPARE(rowMismatch(shown, light ? 0 : 1, light ? DarkRole : LightRole), QString());
}

void tst_Border::writeProperties_data()
{
    QTest::addColumn<quint32>("dark");
    QTest::addColumn<quint32>("light");
    QTest::addColumn<QStringList>("names");
    QTest::newRow("both defaults") << quint32(Shadow) << quint32(Highlight) << QStringList();
    QTest::newRow("dark red") << quint32(Red) << quint32(Highlight) << QStringList{"DarkColor"};
    QTest::newRow("light red") << quint32(Shadow) << quint32(Red) << QStringList{"LightColor"};
    QTest::newRow("both changed") << quint32(Red) << quint32(Blue)
                                  << QStringList{"DarkColor", "LightColor"};
    QTest::newRow("swapped system colours")
        << quint32(Highlight) << quint32(Shadow) << QStringList{"DarkColor", "LightColor"};
    QTest::newRow("dark black") << quint32(0) << quint32(Highlight) << QStringList{"DarkColor"};
}

// A colour equal to its default is not stored.
void tst_Border::writeProperties()
{
    QFETCH(quint32, dark);
    QFETCH(quint32, light);
    QFETCH(QStringList, names);
    Border border;
    border.setDarkColor(0x123456);
    border.setLightColor(0x654321);
    border.setDarkColor(dark);
    border.setLightColor(light);
    forms::PropertyBag bag;
    border.WriteProperties(bag);
    QStringList stored;
    for (const auto &entry : bag.entries())
        stored << entry.name;
    QCOMPARE(stored, names);
    if (names.contains("DarkColor"))
        QCOMPARE(forms::toColor(bag.ReadProperty("DarkColor")), dark);
    if (names.contains("LightColor"))
        QCOMPARE(forms::toColor(bag.ReadProperty("LightColor")), light);

    // What was stored loads back into a fresh instance.
    Border loaded;
    loaded.ReadProperties(bag);
    QCOMPARE(loaded.DarkColor(), dark);
    QCOMPARE(loaded.LightColor(), light);
}

void tst_Border::readProperties_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QVariantList>("values");
    QTest::addColumn<quint32>("dark");
    QTest::addColumn<quint32>("light");
    QTest::newRow("no entries") << QStringList() << QVariantList() << quint32(Shadow)
                                << quint32(Highlight);
    QTest::newRow("both") << QStringList{"DarkColor", "LightColor"}
                          << QVariantList{colour(Red), colour(Blue)} << quint32(Red)
                          << quint32(Blue);
    QTest::newRow("light only") << QStringList{"LightColor"} << QVariantList{colour(Red)}
                                << quint32(Shadow) << quint32(Red);
    QTest::newRow("names in another case")
        << QStringList{"darkcolor", "LIGHTCOLOR"} << QVariantList{colour(Blue), colour(Red)}
        << quint32(Blue) << quint32(Red);
    QTest::newRow("signed system colour")
        << QStringList{"DarkColor"} << QVariantList{QVariant::fromValue<qint32>(qint32(Highlight))}
        << quint32(Highlight) << quint32(Highlight);
    QTest::newRow("numbers as text")
        << QStringList{"DarkColor", "LightColor"}
        << QVariantList{QString("255"), QString("&HFF0000&")} << quint32(Red) << quint32(Blue);
}

void tst_Border::readProperties()
{
    QFETCH(QStringList, names);
    QFETCH(QVariantList, values);
    QFETCH(quint32, dark);
    QFETCH(quint32, light);
    forms::PropertyBag bag;
    for (qsizetype i = 0; i < names.size(); ++i)
        bag.append(names[i], values[i]);
    Border border;
    QSignalSpy changed(&border, &forms::UserControl::propertyChanged);
    border.ReadProperties(bag);
    QCOMPARE(border.DarkColor(), dark);
    QCOMPARE(border.LightColor(), light);
    // Loading is not a change of the stored definition.
    QCOMPARE(changed.count(), 0);
}

void tst_Border::wrongTypeStopsLoading_data()
{
    QTest::addColumn<QVariant>("darkValue");
    QTest::addColumn<QVariant>("lightValue");
    QTest::addColumn<quint32>("dark");
    QTest::addColumn<quint32>("light");
    // DarkColor is read first: when it fails, LightColor is not read at all.
    QTest::newRow("dark is text") << QVariant(QString("dark grey")) << colour(Red)
                                  << quint32(Shadow) << quint32(Highlight);
    QTest::newRow("dark is a font") << QVariant::fromValue(forms::StdFont()) << colour(Red)
                                    << quint32(Shadow) << quint32(Highlight);
    // When LightColor fails, DarkColor is already loaded.
    QTest::newRow("light is text")
        << colour(Blue) << QVariant(QString("white")) << quint32(Blue) << quint32(Highlight);
}

void tst_Border::wrongTypeStopsLoading()
{
    QFETCH(QVariant, darkValue);
    QFETCH(QVariant, lightValue);
    QFETCH(quint32, dark);
    QFETCH(quint32, light);
    forms::PropertyBag bag;
    bag.append("DarkColor", darkValue);
    bag.append("LightColor", lightValue);
    Border border;
    int error = 0;
    try {
        border.ReadProperties(bag);
    } catch (const forms::RuntimeError &e) {
        error = e.number();
    }
    QCOMPARE(error, int(forms::TypeMismatch));
    QCOMPARE(border.DarkColor(), dark);
    QCOMPARE(border.LightColor(), light);
}

QTEST_MAIN(tst_Border)
#include "tst_border.moc"
