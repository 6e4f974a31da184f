// The three faces of LumoButton: their borders, where they place picture and caption, and which
// picture each of them shows.

#include "lumofacetools.h"
#include "twips.h"

#include <QBackingStore>
#include <QTest>

#include <memory>

using namespace lumofacetools;

Q_DECLARE_METATYPE(lumofacetools::Look)

namespace {

// A button in a hidden container, loaded from a bag and sized in twips.
struct TestButton
{
    QWidget host;
    LumoButton *button;
    forms::PictureBox *face;

    explicit TestButton(const forms::PropertyBag &bag, float width = 2400, float height = 900)
    {
        button = new LumoButton(&host);
        button->ReadProperties(bag);
        button->Move(0, 0, width, height);
        face = faceOf(button);
    }

    QImage draw(Look look) { return drawOn(button, look); }

    static QImage drawOn(LumoButton *button, Look look)
    {
        switch (look) {
        case Look::Unselected:
            button->DrawUnselected();
            break;
        case Look::Selected:
            button->DrawSelected();
            break;
        case Look::Pressed:
            button->DrawPressed();
            break;
        case Look::Other:
            break;
        }
        return faceOf(button)->Image();
    }
};

QVariant int16(int value)
{
    return QVariant::fromValue<qint16>(qint16(value));
}

} // namespace

class tst_LumoButtonFaces : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void borders_data();
    void borders();
    void faceReachesTheScreenPixelForPixel_data();
    void faceReachesTheScreenPixelForPixel();
    void contentOffset_data();
    void contentOffset();
    void unselectedLayout_data();
    void unselectedLayout();
    void pictureChoice_data();
    void pictureChoice();
    void switchOnWithoutSelectedPicture_data();
    void switchOnWithoutSelectedPicture();
};

void tst_LumoButtonFaces::initTestCase()
{
    // The faces are drawn on a screen (the scaled runs check the device pixels).
    QWidget probe;
    probe.show();
    QVERIFY(QTest::qWaitForWindowExposed(&probe));
    // The pixel positions below are worked out for 15 twips to the pixel.
    QCOMPARE(forms::TwipsPerPixelX(), 15.0f);
    QCOMPARE(forms::TwipsPerPixelY(), 15.0f);
}

void tst_LumoButtonFaces::borders_data()
{
    QTest::addColumn<Look>("look");
    QTest::addColumn<float>("width");
    QTest::addColumn<float>("height");
    QTest::newRow("selected") << Look::Selected << 2400.0f << 900.0f;
    QTest::newRow("selected, odd pixel size") << Look::Selected << 1815.0f << 615.0f;
    QTest::newRow("selected, tiny") << Look::Selected << 60.0f << 45.0f;
    QTest::newRow("pressed") << Look::Pressed << 2400.0f << 900.0f;
    QTest::newRow("pressed, odd pixel size") << Look::Pressed << 1815.0f << 615.0f;
    QTest::newRow("pressed, tiny") << Look::Pressed << 60.0f << 45.0f;
}

// The raised face is light along the top and left and dark along the right and bottom, the dark
// edges drawn last; the sunken face is the reverse. Each edge is one pixel on the outermost rows
// and columns. On a scaled screen (QT_SCALE_FACTOR) the face is drawn at device pixels and each
// edge covers whole device pixels, as many as one pixel rounds to: no blend, no gap.
void tst_LumoButtonFaces::borders()
{
    QFETCH(Look, look);
    QFETCH(float, width);
    QFETCH(float, height);
    TestButton b(baseBag(), width, height);
    const QImage image = b.draw(look);
    const qreal ratio = b.face->devicePixelRatioF();
    const int w = qRound(forms::twipsToPixelsX(width) * ratio);
    const int h = qRound(forms::twipsToPixelsY(height) * ratio);
    const int t = std::max(1, qRound(ratio));
    QCOMPARE(image.size(), QSize(w, h));

    const QRgb topLeft = look == Look::Selected ? LightRgb : DarkRgb;
    const QRgb bottomRight = look == Look::Selected ? DarkRgb : LightRgb;
    const auto at = [&](int x, int y) { return image.pixel(x, y) | 0xFF000000u; };
    for (int i = 0; i < t; ++i) {
        QCOMPARE(at(i, i), topLeft);
        QCOMPARE(at(w - 1 - i, i), bottomRight);
        QCOMPARE(at(i, h - 1 - i), bottomRight);
        QCOMPARE(at(w - 1 - i, h - 1 - i), bottomRight);
        for (int x = t; x < w - t; ++x) {
            QCOMPARE(at(x, i), topLeft);
            QCOMPARE(at(x, h - 1 - i), bottomRight);
        }
        for (int y = t; y < h - t; ++y) {
            QCOMPARE(at(i, y), topLeft);
            QCOMPARE(at(w - 1 - i, y), bottomRight);
        }
    }
    // One pixel wide: inside the edges the face is its background.
    for (int x = t; x < w - t; ++x) {
        QCOMPARE(at(x, t), BackRgb);
        QCOMPARE(at(x, h - 1 - t), BackRgb);
    }
    for (int y = t; y < h - t; ++y) {
        QCOMPARE(at(t, y), BackRgb);
        QCOMPARE(at(w - 1 - t, y), BackRgb);
    }
}

void tst_LumoButtonFaces::faceReachesTheScreenPixelForPixel_data()
{
    QTest::addColumn<Look>("look");
    QTest::addColumn<QPoint>("place");
    // On a screen scaled by 1.5 an odd pixel position falls between device pixels.
    QTest::newRow("selected, even place") << Look::Selected << QPoint(30, 60);
    QTest::newRow("selected, odd place") << Look::Selected << QPoint(15, 45);
    QTest::newRow("pressed, odd place") << Look::Pressed << QPoint(45, 15);
    QTest::newRow("unselected, odd place") << Look::Unselected << QPoint(15, 15);
}

// What the window shows is the face as drawn, device pixel for device pixel: nothing cut off,
// shifted or blended. The 16 x 16 picture keeps its own colours (a checkerboard scaled as pixel
// art), and the face holds no colour it was not given.
void tst_LumoButtonFaces::faceReachesTheScreenPixelForPixel()
{
    QFETCH(Look, look);
    QFETCH(QPoint, place);
    QImage checker(16, 16, QImage::Format_RGB32);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x)
            checker.setPixel(x, y, (x + y) % 2 ? PictureRgb : SelectedRgb);
    }
    forms::PropertyBag bag = baseBag();
    const QVariant picture = QVariant::fromValue(forms::StdPicture::fromImage(checker));
    for (const char *name : {"Picture", "SelectedPicture", "PressedPicture"})
        bag.WriteProperty(QString::fromLatin1(name), picture);
    QWidget window;
    window.resize(300, 120);
    auto *button = new LumoButton(&window);
    button->ReadProperties(bag);
    button->Move(place.x(), place.y(), 1635, 465);
    forms::PictureBox *face = faceOf(button);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    // The first paints are over before the face is drawn; drawing shows it at once.
    QCoreApplication::processEvents();
    const QImage drawn = TestButton::drawOn(button, look);
    const QPaintDevice *device = window.backingStore()->paintDevice();
    if (device->devType() != QInternal::Image)
        QSKIP("the window's pixels cannot be read on this platform");
    const QImage shown = *static_cast<const QImage *>(device);
    const qreal ratio = face->devicePixelRatioF();
    const QPoint origin = face->mapTo(&window, QPoint(0, 0));
    const QPoint start(qRound(origin.x() * ratio), qRound(origin.y() * ratio));
    const QSize size(qRound((origin.x() + face->width()) * ratio) - start.x(),
                     qRound((origin.y() + face->height()) * ratio) - start.y());
    QCOMPARE(drawn.size(), size);
    QCOMPARE(shown.copy(QRect(start, size)).convertToFormat(QImage::Format_RGB32),
             drawn.convertToFormat(QImage::Format_RGB32));
    const QList<QRgb> given = {BackRgb, LightRgb, DarkRgb, PictureRgb, SelectedRgb};
    for (int y = 0; y < drawn.height(); ++y) {
        for (int x = 0; x < drawn.width(); ++x)
            QVERIFY2(given.contains(drawn.pixel(x, y) | 0xFF000000u),
                     qPrintable(QStringLiteral("blended pixel at %1, %2").arg(x).arg(y)));
    }
}

void tst_LumoButtonFaces::contentOffset_data()
{
    QTest::addColumn<Look>("look");
    QTest::addColumn<int>("alignment");
    QTest::addColumn<int>("shift");
    QTest::addColumn<QPoint>("offset"); // pixels, from the unselected face

    // The raised face keeps the unselected places whatever Shift holds.
    for (int alignment : {0, 1, 2}) {
        QTest::addRow("selected, alignment %d", alignment)
            << Look::Selected << alignment << 45 << QPoint(0, 0);
    }
    // The sunken face moves its content right and down by Shift; with the picture above the
    // caption the horizontal move is twice Shift.
    const struct
    {
        int alignment;
        int shift;
        QPoint offset;
    } pressed[] = {
        {0, 15, {1, 1}},    {1, 15, {1, 1}}, {2, 15, {2, 1}},    {3, 15, {2, 1}},
        {-1, 15, {2, 1}},   {0, 45, {3, 3}}, {1, 45, {3, 3}},    {2, 45, {6, 3}},
        {0, 0, {0, 0}},     {2, 0, {0, 0}},  {0, -15, {-1, -1}}, {1, -30, {-2, -2}},
        {2, -30, {-4, -2}},
    };
    for (const auto &row : pressed) {
        QTest::addRow("pressed, alignment %d, shift %d", row.alignment, row.shift)
            << Look::Pressed << row.alignment << row.shift << row.offset;
    }
}

void tst_LumoButtonFaces::contentOffset()
{
    QFETCH(Look, look);
    QFETCH(int, alignment);
    QFETCH(int, shift);
    QFETCH(QPoint, offset);
    forms::PropertyBag bag = baseBag();
    bag.WriteProperty(QStringLiteral("Caption"), QStringLiteral("Go"));
    bag.WriteProperty(QStringLiteral("Picture"), QVariant::fromValue(solidPicture(PictureRgb)));
    bag.WriteProperty(QStringLiteral("Alignment"), int16(alignment));
    bag.WriteProperty(QStringLiteral("Shift"), int16(shift));
    TestButton b(bag);

    const QImage rest = b.draw(Look::Unselected);
    const QImage image = b.draw(look);
    QCOMPARE(lookOf(image), look);
    const QRect picture = boundsOf(rest, PictureRgb);
    const QRect caption = captionBounds(rest);
    QCOMPARE(picture.size(), QSize(16, 16));
    QVERIFY(!caption.isNull());
    QCOMPARE(boundsOf(image, PictureRgb), picture.translated(offset));
    QCOMPARE(captionBounds(image), caption.translated(offset));
}

void tst_LumoButtonFaces::unselectedLayout_data()
{
    // A 2400 x 900 twip face (160 x 60 pixels) with a 16 x 16 picture (240 twips).
    QTest::addColumn<int>("alignment");
    QTest::addColumn<int>("delta");
    QTest::addColumn<QPoint>("picture"); // top-left pixel
    // Picture left: Delta from the left edge, centred vertically: (900 - 240) / 2 = 330.
    QTest::newRow("left, delta 45") << 0 << 45 << QPoint(45 / 15, 330 / 15);
    QTest::newRow("left, delta 90") << 0 << 90 << QPoint(90 / 15, 330 / 15);
    // Picture right: Delta from the right edge.
    QTest::newRow("right, delta 45") << 1 << 45 << QPoint((2400 - 45 - 240) / 15, 330 / 15);
    QTest::newRow("right, delta 90") << 1 << 90 << QPoint((2400 - 90 - 240) / 15, 330 / 15);
    // Picture above: centred horizontally, Delta below the top edge.
    QTest::newRow("above, delta 45") << 2 << 45 << QPoint((2400 - 240) / 2 / 15, 45 / 15);
    QTest::newRow("above, delta 90") << 2 << 90 << QPoint((2400 - 240) / 2 / 15, 90 / 15);
    QTest::newRow("alignment 3 is above") << 3 << 45 << QPoint((2400 - 240) / 2 / 15, 45 / 15);
    QTest::newRow("alignment -1 is above") << -1 << 45 << QPoint((2400 - 240) / 2 / 15, 45 / 15);
}

void tst_LumoButtonFaces::unselectedLayout()
{
    QFETCH(int, alignment);
    QFETCH(int, delta);
    QFETCH(QPoint, picture);
    forms::PropertyBag bag = baseBag();
    bag.WriteProperty(QStringLiteral("Caption"), QStringLiteral("Go"));
    bag.WriteProperty(QStringLiteral("Picture"), QVariant::fromValue(solidPicture(PictureRgb)));
    bag.WriteProperty(QStringLiteral("Alignment"), int16(alignment));
    bag.WriteProperty(QStringLiteral("Delta"), int16(delta));
    TestButton b(bag);
    const QImage image = b.draw(Look::Unselected);
    QCOMPARE(lookOf(image), Look::Unselected);
    const QRect placed = boundsOf(image, PictureRgb);
    QCOMPARE(placed, QRect(picture, QSize(16, 16)));
    const QRect caption = captionBounds(image);
    QVERIFY(!caption.isNull());
    if (alignment == 0)
        QVERIFY(caption.left() > placed.right());
    else if (alignment == 1)
        QVERIFY(caption.right() < placed.left());
    else
        QVERIFY(caption.top() > placed.bottom());
}

namespace {
enum class Shown { Picture, Selected, Pressed, None };
}
Q_DECLARE_METATYPE(Shown)

void tst_LumoButtonFaces::pictureChoice_data()
{
    QTest::addColumn<Look>("look");
    QTest::addColumn<bool>("switchMode");
    QTest::addColumn<bool>("value");
    QTest::addColumn<bool>("hasSelected");
    QTest::addColumn<bool>("hasPressed");
    QTest::addColumn<Shown>("shown");
    const Look U = Look::Unselected, S = Look::Selected, P = Look::Pressed;
    // Unselected: a switch that is on shows SelectedPicture (or none); all else Picture.
    QTest::newRow("unselected push") << U << false << false << true << true << Shown::Picture;
    QTest::newRow("unselected push, value on")
        << U << false << true << true << true << Shown::Picture;
    QTest::newRow("unselected switch on") << U << true << true << true << true << Shown::Selected;
    QTest::newRow("unselected switch on, no selected")
        << U << true << true << false << true << Shown::None;
    QTest::newRow("unselected switch off") << U << true << false << true << true << Shown::Picture;
    // Selected: a push button shows SelectedPicture when it has one; a switch by its Value.
    QTest::newRow("selected push") << S << false << false << true << true << Shown::Selected;
    QTest::newRow("selected push, value on")
        << S << false << true << true << false << Shown::Selected;
    QTest::newRow("selected push, no selected")
        << S << false << false << false << true << Shown::Picture;
    QTest::newRow("selected switch on") << S << true << true << true << true << Shown::Selected;
    QTest::newRow("selected switch on, no selected")
        << S << true << true << false << true << Shown::None;
    QTest::newRow("selected switch off") << S << true << false << true << true << Shown::Picture;
    // Pressed: a push button shows PressedPicture when it has one; a switch by its Value.
    QTest::newRow("pressed push") << P << false << false << true << true << Shown::Pressed;
    QTest::newRow("pressed push, value on")
        << P << false << true << false << true << Shown::Pressed;
    QTest::newRow("pressed push, no pressed")
        << P << false << false << true << false << Shown::Picture;
    QTest::newRow("pressed switch on") << P << true << true << true << true << Shown::Selected;
    QTest::newRow("pressed switch on, no selected")
        << P << true << true << false << true << Shown::None;
    QTest::newRow("pressed switch off") << P << true << false << true << true << Shown::Picture;
}

void tst_LumoButtonFaces::pictureChoice()
{
    QFETCH(Look, look);
    QFETCH(bool, switchMode);
    QFETCH(bool, value);
    QFETCH(bool, hasSelected);
    QFETCH(bool, hasPressed);
    QFETCH(Shown, shown);
    forms::PropertyBag bag = baseBag();
    bag.WriteProperty(QStringLiteral("Picture"), QVariant::fromValue(solidPicture(PictureRgb)));
    if (hasSelected) {
        bag.WriteProperty(QStringLiteral("SelectedPicture"),
                          QVariant::fromValue(solidPicture(SelectedRgb)));
    }
    if (hasPressed) {
        bag.WriteProperty(QStringLiteral("PressedPicture"),
                          QVariant::fromValue(solidPicture(PressedRgb)));
    }
    bag.WriteProperty(QStringLiteral("Switch"), int16(switchMode ? -1 : 0));
    bag.WriteProperty(QStringLiteral("Value"), int16(value ? -1 : 0));
    TestButton b(bag);
    QCOMPARE(b.button->Switch(), switchMode);
    QCOMPARE(b.button->Value(), value);

    const QImage image = b.draw(look);
    // Picture left at Delta (45) and centred vertically; the pressed face adds the default
    // Shift of 15 twips, one pixel each way.
    const QPoint corner = look == Look::Pressed ? QPoint(4, 23) : QPoint(3, 22);
    const QRect expected(corner, QSize(16, 16));
    QCOMPARE(boundsOf(image, PictureRgb), shown == Shown::Picture ? expected : QRect());
    QCOMPARE(boundsOf(image, SelectedRgb), shown == Shown::Selected ? expected : QRect());
    QCOMPARE(boundsOf(image, PressedRgb), shown == Shown::Pressed ? expected : QRect());
}

void tst_LumoButtonFaces::switchOnWithoutSelectedPicture_data()
{
    QTest::addColumn<Look>("look");
    QTest::addColumn<int>("alignment");
    QTest::newRow("unselected") << Look::Unselected << 0;
    QTest::newRow("selected") << Look::Selected << 0;
    QTest::newRow("pressed") << Look::Pressed << 0;
    QTest::newRow("pressed, picture right") << Look::Pressed << 1;
    QTest::newRow("unselected, picture above") << Look::Unselected << 2;
}

// With no picture to show, the caption is centred both ways, exactly where a button without any
// picture puts it, whatever Alignment holds.
void tst_LumoButtonFaces::switchOnWithoutSelectedPicture()
{
    QFETCH(Look, look);
    QFETCH(int, alignment);
    forms::PropertyBag bag = baseBag();
    bag.WriteProperty(QStringLiteral("Caption"), QStringLiteral("On"));
    bag.WriteProperty(QStringLiteral("Alignment"), int16(alignment));
    forms::PropertyBag plain = bag;
    bag.WriteProperty(QStringLiteral("Picture"), QVariant::fromValue(solidPicture(PictureRgb)));
    bag.WriteProperty(QStringLiteral("PressedPicture"),
                      QVariant::fromValue(solidPicture(PressedRgb)));
    forms::PropertyBag push = bag;
    bag.WriteProperty(QStringLiteral("Switch"), int16(-1));
    bag.WriteProperty(QStringLiteral("Value"), int16(-1));

    TestButton on(bag);
    TestButton withoutPictures(plain);
    TestButton withPicture(push);
    const QImage image = on.draw(look);
    QCOMPARE(lookOf(image), look);
    QCOMPARE(boundsOf(image, PictureRgb), QRect());
    QCOMPARE(boundsOf(image, PressedRgb), QRect());
    QCOMPARE(boundsOf(image, SelectedRgb), QRect());

    const QRect caption = captionBounds(image);
    QVERIFY(!caption.isNull());
    QCOMPARE(caption, captionBounds(withoutPictures.draw(look)));
    // A face that does show a picture puts the caption elsewhere.
    QVERIFY(caption != captionBounds(withPicture.draw(look)));
    // Centred: the ink's middle lies within a pixel or two of the face's middle (side bearings
    // of the glyphs account for the rest); the pressed face adds Shift (one pixel).
    const QPointF centre = QRectF(caption).center();
    const QPointF middle(image.width() / 2.0, image.height() / 2.0);
    const double s = look == Look::Pressed ? 1 : 0;
    QVERIFY2(std::abs(centre.x() - middle.x() - s) <= 2, qPrintable(QString::number(centre.x())));
    QVERIFY2(std::abs(centre.y() - middle.y() - s) <= 3, qPrintable(QString::number(centre.y())));
}

QTEST_MAIN(tst_LumoButtonFaces)
#include "tst_lumobutton_faces.moc"
