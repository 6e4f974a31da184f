#include "imagetools.h"
#include "picturebox.h"
#include "surfaceimages.h"
#include "twips.h"

#include <QApplication>
#include <QFile>
#include <QFontDatabase>
#include <QScopeGuard>
#include <QTest>

#include <memory>
#include <vector>

using forms::OleColor;
using forms::PictureBox;
using forms::SurfaceImages;
using imagetools::boundsOf;
using imagetools::countOf;
using imagetools::inkBounds;

namespace {

constexpr OleColor White = 0x00FFFFFF;
constexpr OleColor Red = 0x000000FF;
constexpr OleColor Blue = 0x00FF0000;

forms::StdFont textFont(double size = 10)
{
    forms::StdFont font;
    font.name = QStringLiteral("DejaVu Sans");
    font.size = size;
    return font;
}

// A hidden surface of the given size in pixels, cleared to white.
void prepare(PictureBox &box, int width, int height)
{
    box.Move(0, 0, float(width * 15), float(height * 15));
    box.setBackColor(White);
    box.Cls();
}

// Whether some pixel row inside the band is covered by ink along at least `length` pixels from
// `left` on: the trace of an underline, which no glyph of "Exit" makes on its own.
bool hasLongRun(const QImage &image, int left, int length, int top, int bottom)
{
    for (int y = std::max(top, 0); y <= std::min(bottom, image.height() - 1); ++y) {
        int covered = 0;
        for (int x = left; x < left + length && x < image.width(); ++x) {
            if ((image.pixel(x, y) | 0xFF000000u) != QColor(Qt::white).rgb())
                ++covered;
        }
        if (covered >= length)
            return true;
    }
    return false;
}

} // namespace

class tst_PictureBox : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void geometryInTwips_data();
    void geometryInTwips();
    void defaultScaleIsTwips();
    void rewrittenScaleKeepsItsUnits();

    void lineFillsBoxWithBothCorners_data();
    void lineFillsBoxWithBothCorners();
    void lineOfEqualCornersIsOnePixelWide_data();
    void lineOfEqualCornersIsOnePixelWide();

    void paintPictureAtNaturalSize_data();
    void paintPictureAtNaturalSize();

    void textMeasuresInScaleUnits();
    void installedFontReachesEverySurface();
    void printDrawsAtCurrentPositionAndAdvances();
    void fontUnderlineAppliesToLaterText();

    void clsClearsToBackColor();
    void surfaceLargerThanTheDesktopKeepsWhatItShows();
    void surfacesTogetherKeepNoMoreThanTheirPixels();

    void pointerShapes_data();
    void pointerShapes();
    void systemColoursDrawThroughThePalette();
};

// ---- Mouse pointer --------------------------------------------------------------------------

void tst_PictureBox::pointerShapes_data()
{
    QTest::addColumn<int>("pointer");
    QTest::addColumn<bool>("icon");
    QTest::addColumn<int>("shape");
    QTest::newRow("default") << 0 << true << int(Qt::ArrowCursor);
    QTest::newRow("I-beam") << 3 << true << int(Qt::IBeamCursor);
    QTest::newRow("custom") << 99 << true << int(Qt::BitmapCursor);
    QTest::newRow("custom without an icon") << 99 << false << int(Qt::ArrowCursor);
}

// A custom pointer's icon is decoded when the pointer first comes over the surface; from then
// on the surface shows it, with its hot spot.
void tst_PictureBox::pointerShapes()
{
    QFETCH(int, pointer);
    QFETCH(bool, icon);
    QFETCH(int, shape);
    PictureBox box;
    prepare(box, 40, 40);
    if (icon) {
        QImage image(32, 32, QImage::Format_ARGB32);
        image.fill(Qt::black);
        forms::StdPicture picture =
            forms::StdPicture::fromStoredData(forms::StdPicture::fromImage(image).data());
        picture.setHotSpot(QPoint(8, 0));
        box.setMouseIcon(picture);
    }
    box.setMousePointer(qint16(pointer));
    QEvent enter(QEvent::Enter);
    QCoreApplication::sendEvent(&box, &enter);
    QCOMPARE(int(box.cursor().shape()), shape);
    if (shape == Qt::BitmapCursor)
        QCOMPARE(box.cursor().hotSpot(), QPoint(8, 0));
}

void tst_PictureBox::initTestCase()
{
    // The expectations below are worked out for a normal-density screen.
    QCOMPARE(forms::TwipsPerPixelX(), 15.0f);
    QCOMPARE(forms::TwipsPerPixelY(), 15.0f);
}

// ---- Geometry and scale --------------------------------------------------------------------

void tst_PictureBox::geometryInTwips_data()
{
    QTest::addColumn<QRectF>("twips");
    QTest::addColumn<QRect>("pixels");
    QTest::newRow("whole pixels") << QRectF(150, 300, 1500, 750) << QRect(10, 20, 100, 50);
    QTest::newRow("origin") << QRectF(0, 0, 2535, 1500) << QRect(0, 0, 169, 100);
    // Positions round to the nearest pixel; the twips read back as they were set.
    QTest::newRow("below half a pixel") << QRectF(7, 97, 1507, 757) << QRect(0, 6, 100, 50);
    QTest::newRow("above half a pixel") << QRectF(8, 98, 1508, 758) << QRect(1, 7, 101, 51);
    QTest::newRow("fractional twips")
        << QRectF(157.25f, 0.25f, 1499.5f, 750.75f) << QRect(10, 0, 100, 50);
}

void tst_PictureBox::geometryInTwips()
{
    QFETCH(QRectF, twips);
    QFETCH(QRect, pixels);
    QWidget container;
    PictureBox box(&container);
    box.Move(float(twips.x()), float(twips.y()), float(twips.width()), float(twips.height()));
    QCOMPARE(box.geometry(), pixels);
    QCOMPARE(box.Left(), float(twips.x()));
    QCOMPARE(box.Top(), float(twips.y()));
    QCOMPARE(box.Width(), float(twips.width()));
    QCOMPARE(box.Height(), float(twips.height()));
    QCOMPARE(box.Image().size(), pixels.size());
}

void tst_PictureBox::defaultScaleIsTwips()
{
    PictureBox box;
    prepare(box, 100, 50);
    QCOMPARE(box.ScaleLeft(), 0.0f);
    QCOMPARE(box.ScaleTop(), 0.0f);
    QCOMPARE(box.ScaleWidth(), 1500.0f);
    QCOMPARE(box.ScaleHeight(), 750.0f);

    // The twip scale follows the size.
    box.Move(0, 0, 3000, 600);
    QCOMPARE(box.ScaleWidth(), 3000.0f);
    QCOMPARE(box.ScaleHeight(), 600.0f);
}

void tst_PictureBox::rewrittenScaleKeepsItsUnits()
{
    PictureBox box;
    prepare(box, 100, 50);
    box.setScaleWidth(1000); // 10 units a pixel across
    box.setScaleHeight(500); // and down
    QCOMPARE(box.ScaleWidth(), 1000.0f);
    QCOMPARE(box.ScaleHeight(), 500.0f);
    box.Line(100, 100, 300, 200, Red);
    QCOMPARE(boundsOf(box.Image(), Qt::red), QRect(QPoint(10, 10), QPoint(30, 20)));

    // A new size keeps as many units: now 5 a pixel.
    box.Move(0, 0, 3000, 1500);
    QCOMPARE(box.ScaleWidth(), 1000.0f);
    QCOMPARE(box.ScaleHeight(), 500.0f);
    box.Cls();
    box.Line(100, 100, 300, 200, Red);
    QCOMPARE(boundsOf(box.Image(), Qt::red), QRect(QPoint(20, 20), QPoint(60, 40)));
}

// ---- Line ----------------------------------------------------------------------------------

void tst_PictureBox::lineFillsBoxWithBothCorners_data()
{
    QTest::addColumn<QRectF>("corners"); // x1, y1, x2, y2 as left, top, right, bottom
    QTest::addColumn<QRect>("filled");
    QTest::newRow("box") << QRectF(QPointF(150, 150), QPointF(450, 300))
                         << QRect(QPoint(10, 10), QPoint(30, 20));
    QTest::newRow("corners given the other way round")
        << QRectF(QPointF(450, 300), QPointF(150, 150)) << QRect(QPoint(10, 10), QPoint(30, 20));
    QTest::newRow("one corner below the other")
        << QRectF(QPointF(450, 150), QPointF(150, 300)) << QRect(QPoint(10, 10), QPoint(30, 20));
    // 157 twips is 10.47 pixels, 443 is 29.53: each corner goes to its nearest pixel.
    QTest::newRow("corners between pixels")
        << QRectF(QPointF(157, 142), QPointF(443, 308)) << QRect(QPoint(10, 9), QPoint(30, 21));
    QTest::newRow("whole surface, far corners on the edge")
        << QRectF(QPointF(0, 0), QPointF(1500, 750)) << QRect(0, 0, 100, 50);
    QTest::newRow("partly outside")
        << QRectF(QPointF(-300, 600), QPointF(300, 900)) << QRect(QPoint(0, 40), QPoint(20, 49));
}

void tst_PictureBox::lineFillsBoxWithBothCorners()
{
    QFETCH(QRectF, corners);
    QFETCH(QRect, filled);
    PictureBox box;
    prepare(box, 100, 50);
    box.Line(float(corners.left()), float(corners.top()), float(corners.right()),
             float(corners.bottom()), Red);
    const QImage image = box.Image();
    QCOMPARE(boundsOf(image, Qt::red), filled);
    QCOMPARE(countOf(image, Qt::red), filled.width() * filled.height()); // solid
}

void tst_PictureBox::lineOfEqualCornersIsOnePixelWide_data()
{
    QTest::addColumn<float>("scaleWidth"); // 0: twips
    QTest::addColumn<QRectF>("corners");
    QTest::addColumn<QRect>("filled");
    QTest::newRow("vertical") << 0.0f << QRectF(QPointF(300, 150), QPointF(300, 600))
                              << QRect(20, 10, 1, 31);
    QTest::newRow("horizontal") << 0.0f << QRectF(QPointF(150, 300), QPointF(1200, 300))
                                << QRect(10, 20, 71, 1);
    QTest::newRow("point") << 0.0f << QRectF(QPointF(300, 300), QPointF(300, 300))
                           << QRect(20, 20, 1, 1);
    QTest::newRow("right edge of the surface")
        << 0.0f << QRectF(QPointF(1485, 0), QPointF(1485, 735)) << QRect(99, 0, 1, 50);
    // A unit much larger than a pixel still gives a line one pixel wide.
    QTest::newRow("coarse scale") << 10.0f << QRectF(QPointF(5, 0), QPointF(5, 5))
                                  << QRect(50, 0, 1, 50);
    // And a unit much smaller than a pixel too.
    QTest::newRow("fine scale") << 100000.0f << QRectF(QPointF(0, 5000), QPointF(100000, 5000))
                                << QRect(0, 5, 100, 1);
}

void tst_PictureBox::lineOfEqualCornersIsOnePixelWide()
{
    QFETCH(float, scaleWidth);
    QFETCH(QRectF, corners);
    QFETCH(QRect, filled);
    PictureBox box;
    prepare(box, 100, 50);
    if (scaleWidth > 0) { // the same number of units a pixel both ways
        box.setScaleWidth(scaleWidth);
        box.setScaleHeight(scaleWidth / 2);
    }
    box.Line(float(corners.left()), float(corners.top()), float(corners.right()),
             float(corners.bottom()), Red);
    const QImage image = box.Image();
    QCOMPARE(boundsOf(image, Qt::red), filled);
    QCOMPARE(countOf(image, Qt::red), filled.width() * filled.height());
}

// ---- PaintPicture --------------------------------------------------------------------------

void tst_PictureBox::paintPictureAtNaturalSize_data()
{
    QTest::addColumn<float>("scaleWidth"); // 0: twips
    QTest::addColumn<QSize>("pictureSize");
    QTest::addColumn<QPointF>("at");
    QTest::addColumn<QRect>("painted");
    QTest::newRow("twips") << 0.0f << QSize(7, 5) << QPointF(150, 300) << QRect(10, 20, 7, 5);
    QTest::newRow("between pixels")
        << 0.0f << QSize(7, 5) << QPointF(157, 308) << QRect(10, 21, 7, 5);
    QTest::newRow("origin") << 0.0f << QSize(1, 1) << QPointF(0, 0) << QRect(0, 0, 1, 1);
    // The scale moves the corner, never the size: one unit is two pixels here.
    QTest::newRow("coarse scale") << 50.0f << QSize(7, 5) << QPointF(10, 5) << QRect(20, 10, 7, 5);
    QTest::newRow("fine scale") << 10000.0f << QSize(12, 9) << QPointF(3000, 1000)
                                << QRect(30, 10, 12, 9);
    QTest::newRow("clipped at the far corner")
        << 0.0f << QSize(20, 20) << QPointF(1350, 600) << QRect(90, 40, 10, 10);
}

void tst_PictureBox::paintPictureAtNaturalSize()
{
    QFETCH(float, scaleWidth);
    QFETCH(QSize, pictureSize);
    QFETCH(QPointF, at);
    QFETCH(QRect, painted);
    PictureBox box;
    prepare(box, 100, 50);
    if (scaleWidth > 0) {
        box.setScaleWidth(scaleWidth);
        box.setScaleHeight(scaleWidth / 2);
    }
    const QImage picture =
        imagetools::solidImage(pictureSize.width(), pictureSize.height(), Qt::green);
    box.PaintPicture(picture, float(at.x()), float(at.y()));
    const QImage image = box.Image();
    QCOMPARE(boundsOf(image, Qt::green), painted);
    QCOMPARE(countOf(image, Qt::green), painted.width() * painted.height());
}

// ---- Text ----------------------------------------------------------------------------------

void tst_PictureBox::textMeasuresInScaleUnits()
{
    PictureBox twips;
    prepare(twips, 100, 50);
    twips.setFont(textFont());
    PictureBox pixels;
    prepare(pixels, 100, 50);
    pixels.setFont(textFont());
    pixels.setScaleWidth(100);
    pixels.setScaleHeight(50);

    const QString text = QStringLiteral("Calculate (F5)");
    QVERIFY(pixels.TextWidth(text) > 0);
    QVERIFY(pixels.TextHeight(text) > 0);
    QCOMPARE(twips.TextWidth(text), pixels.TextWidth(text) * 15);
    QCOMPARE(twips.TextHeight(text), pixels.TextHeight(text) * 15);
    QCOMPARE(twips.TextWidth(QString()), 0.0f);

    // A longer text is wider; a font twice the size is about twice as wide and high.
    QVERIFY(twips.TextWidth(text + text) > twips.TextWidth(text));
    const float width10 = twips.TextWidth(text), height10 = twips.TextHeight(text);
    twips.setFont(textFont(20));
    QVERIFY(qAbs(twips.TextWidth(text) / width10 - 2) < 0.15);
    QVERIFY(qAbs(twips.TextHeight(text) / height10 - 2) < 0.15);
}

// Surfaces share what they measured in a font, so a font installed later must reach them all.
void tst_PictureBox::installedFontReachesEverySurface()
{
    const QString file = QStringLiteral("/usr/share/fonts/truetype/noto/NotoSerif-Regular.ttf");
    if (!QFile::exists(file))
        QSKIP("needs fonts-noto-core, which scripts/test installs");
    if (QFontDatabase::hasFamily(QStringLiteral("Noto Serif")))
        QSKIP("Noto Serif is among the fonts this test sees already (run it through ctest)");
    forms::StdFont font = textFont(20);
    font.name = QStringLiteral("Noto Serif");
    const QString text = QStringLiteral("Wavelength");
    PictureBox first, second;
    for (PictureBox *box : {&first, &second}) {
        prepare(*box, 100, 50);
        box->setFont(font);
    }
    const float before = first.TextWidth(text);
    QCOMPARE(second.TextWidth(text), before);

    const int added = QFontDatabase::addApplicationFont(file);
    QVERIFY(added >= 0);
    const auto removal = qScopeGuard([added] { QFontDatabase::removeApplicationFont(added); });
    PictureBox later;
    prepare(later, 100, 50);
    later.setFont(font);
    const float after = later.TextWidth(text);
    QVERIFY(after != before);
    QCOMPARE(first.TextWidth(text), after);
    QCOMPARE(second.TextWidth(text), after);
}

void tst_PictureBox::printDrawsAtCurrentPositionAndAdvances()
{
    PictureBox box;
    prepare(box, 100, 50);
    box.setFont(textFont());
    box.setForeColor(Red);
    box.setCurrentX(150); // pixel 10
    box.setCurrentY(150); // pixel 10
    const float width = box.TextWidth(QStringLiteral("ab"));
    const float height = box.TextHeight(QStringLiteral("ab"));

    box.Print(QStringLiteral("ab"));
    QCOMPARE(box.CurrentX(), 150 + width);
    QCOMPARE(box.CurrentY(), 150.0f);
    const QImage first = box.Image();
    const QRect ink = inkBounds(first, Qt::white);
    QVERIFY(!ink.isEmpty());
    // The ink lies in the text's box. A glyph may overhang its advance by a fraction of a pixel,
    // which anti-aliasing turns into one more pixel on either side.
    const QRect textBox(10, 10, qCeil(width / 15), qCeil(height / 15));
    QVERIFY2(textBox.adjusted(-1, 0, 1, 0).contains(ink),
             qPrintable(QStringLiteral("ink %1,%2 %3x%4")
                            .arg(ink.x())
                            .arg(ink.y())
                            .arg(ink.width())
                            .arg(ink.height())));
    // Text colour: the strokes' cores are pure ForeColor.
    QVERIFY(countOf(first, Qt::red) > 0);

    // The next Print starts where the first one ended.
    box.setForeColor(Blue);
    box.Print(QStringLiteral("cd"));
    QCOMPARE(box.CurrentX(), 150 + width + box.TextWidth(QStringLiteral("cd")));
    const QImage second = box.Image();
    QRect added;
    for (int y = 0; y < second.height(); ++y) {
        for (int x = 0; x < second.width(); ++x) {
            if (second.pixel(x, y) != first.pixel(x, y))
                added |= QRect(x, y, 1, 1);
        }
    }
    QVERIFY(!added.isEmpty());
    const int secondStart = qRound((150 + width) / 15);
    QVERIFY2(added.left() >= secondStart - 1 && added.left() <= secondStart + 2,
             qPrintable(QStringLiteral("second text starts at %1, expected about %2")
                            .arg(added.left())
                            .arg(secondStart)));
    QVERIFY(countOf(second, Qt::blue) > 0);
}

void tst_PictureBox::fontUnderlineAppliesToLaterText()
{
    const QString text = QStringLiteral("Exit");
    auto printed = [&](bool underlineBefore, bool underlineAfter) {
        PictureBox box;
        prepare(box, 100, 50);
        box.setFont(textFont());
        box.setForeColor(Red);
        box.setFontUnderline(underlineBefore);
        box.setFontUnderline(underlineAfter);
        box.setCurrentX(150);
        box.setCurrentY(150);
        box.Print(text);
        return box.Image();
    };
    PictureBox measure;
    measure.setFont(textFont());
    const int length = qFloor(measure.TextWidth(text) / 15) - 1;
    const int bottom = 10 + qCeil(measure.TextHeight(text) / 15);

    const QImage plain = printed(false, false);
    const QImage underlined = printed(false, true);
    QVERIFY(!hasLongRun(plain, 10, length, 10, bottom));
    QVERIFY(hasLongRun(underlined, 10, length, 10, bottom));
    // The underline lies below the letters' bottom line.
    QVERIFY(inkBounds(underlined, Qt::white).bottom() > inkBounds(plain, Qt::white).bottom());
    // Switched off again, text prints plain.
    QVERIFY(imagetools::samePixels(printed(true, false), plain));

    PictureBox box;
    box.setFont(textFont());
    box.setFontUnderline(true);
    QVERIFY(box.FontUnderline());
    QVERIFY(box.Font().underline);
    box.setFontUnderline(false);
    QVERIFY(!box.FontUnderline());
}

// ---- Clearing and colours ------------------------------------------------------------------

void tst_PictureBox::clsClearsToBackColor()
{
    PictureBox box;
    prepare(box, 100, 50);
    box.Line(0, 0, 750, 750, Red);
    box.PaintPicture(imagetools::solidImage(5, 5, Qt::green), 900, 150);
    box.setFont(textFont());
    box.setCurrentX(900);
    box.setCurrentY(300);
    box.Print(QStringLiteral("text"));
    QVERIFY(countOf(box.Image(), Qt::red) > 0);

    box.setBackColor(Blue);
    box.Line(0, 0, 750, 750, Red);
    box.Cls();
    const QImage image = box.Image();
    QCOMPARE(image.size(), QSize(100, 50));
    QCOMPARE(countOf(image, Qt::blue), 100 * 50);
}

// A control of the largest stored size (16,384 pixels square) would need a gigabyte for its image;
// it keeps only what the desktop shows at once, and draws there as usual.
void tst_PictureBox::surfaceLargerThanTheDesktopKeepsWhatItShows()
{
    PictureBox small;
    prepare(small, 100, 100);
    small.Line(0, 0, 750, 750, Red);
    PictureBox box;
    prepare(box, 16384, 16384);
    box.Line(0, 0, 750, 750, Red);
    const QImage image = box.Image();
    const QSize desktop = QGuiApplication::primaryScreen()->virtualSize();
    QVERIFY2(image.width() <= desktop.width() && image.height() <= desktop.height(),
             qPrintable(QStringLiteral("%1 x %2").arg(image.width()).arg(image.height())));
    QCOMPARE(countOf(image, Qt::red), countOf(small.Image(), Qt::red));
    QVERIFY(countOf(image, Qt::red) > 0);
}

// Each surface may keep a screenful, so many large ones could ask for gigabytes; beyond what all
// may hold together, a surface shows its back colour, and draws whole again once others are gone.
void tst_PictureBox::surfacesTogetherKeepNoMoreThanTheirPixels()
{
    PictureBox small;
    prepare(small, 100, 100);
    small.Line(0, 0, 750, 750, Red);
    const QSize desktop = QGuiApplication::primaryScreen()->virtualSize();
    const qsizetype each = qsizetype(desktop.width()) * desktop.height() * 4;
    std::vector<std::unique_ptr<PictureBox>> boxes;
    while (boxes.size() < size_t(SurfaceImages::MaxBytes / each + 2)) {
        boxes.push_back(std::make_unique<PictureBox>());
        prepare(*boxes.back(), 16384, 16384);
        boxes.back()->Line(0, 0, 750, 750, Red);
        QVERIFY(SurfaceImages::bytesInUse() <= SurfaceImages::MaxBytes);
    }
    PictureBox &last = *boxes.back();
    QCOMPARE(countOf(last.Image(), Qt::red), 0);
    const QImage shown = last.grab(QRect(0, 0, 100, 100)).toImage();
    QCOMPARE(countOf(shown, Qt::white), 100 * 100);

    boxes.erase(boxes.begin(), boxes.begin() + 2);
    last.Cls();
    last.Line(0, 0, 750, 750, Red);
    QCOMPARE(last.Image().size(), desktop);
    QCOMPARE(countOf(last.Image(), Qt::red), countOf(small.Image(), Qt::red));
}

void tst_PictureBox::systemColoursDrawThroughThePalette()
{
    const QPalette saved = QApplication::palette();
    QPalette palette = saved;
    const QColor face(0x12, 0x34, 0x56), text(0xAB, 0x10, 0x20), shadow(0x01, 0x99, 0x02);
    palette.setColor(QPalette::All, QPalette::Button, face);
    palette.setColor(QPalette::All, QPalette::ButtonText, text);
    palette.setColor(QPalette::All, QPalette::Dark, shadow);
    QApplication::setPalette(palette);

    PictureBox box;
    box.Move(0, 0, 1500, 750);
    box.setBackColor(forms::SystemColor::ButtonFace);
    box.Cls();
    box.Line(150, 150, 150, 600, forms::SystemColor::ButtonShadow);
    box.setFont(textFont(20));
    box.setForeColor(forms::SystemColor::ButtonText);
    box.setCurrentX(450);
    box.setCurrentY(75);
    box.Print(QStringLiteral("HH"));
    const QImage image = box.Image();
    QApplication::setPalette(saved);

    // Colour values stay as set; only drawing resolves them.
    QCOMPARE(box.BackColor(), forms::SystemColor::ButtonFace);
    QCOMPARE(box.ForeColor(), forms::SystemColor::ButtonText);
    QCOMPARE(image.pixelColor(99, 49), face);
    QCOMPARE(boundsOf(image, shadow), QRect(10, 10, 1, 31));
    QVERIFY(countOf(image, text) > 0);
}

QTEST_MAIN(tst_PictureBox)
#include "tst_picturebox.moc"
