// Drawing the same thing again on a surface: however often a face is drawn, and whatever comes
// between, what the surface shows is what these drawing calls make on a fresh surface.

#include "colors.h"
#include "imagetools.h"
#include "picturebox.h"

#include <QApplication>
#include <QTest>

using forms::OleColor;
using forms::PictureBox;
using imagetools::countOf;
using imagetools::samePixels;

namespace {

constexpr OleColor White = 0x00FFFFFF;
constexpr OleColor Red = 0x000000FF;
constexpr OleColor Blue = 0x00FF0000;

forms::StdFont textFont()
{
    forms::StdFont font;
    font.name = QStringLiteral("DejaVu Sans");
    font.size = 10;
    return font;
}

// A small face: a frame, a picture and a caption printed character by character, the second
// character underlined, as a button draws its faces.
void drawFace(PictureBox &box, const QString &caption, const QImage &picture = QImage())
{
    box.Cls();
    box.Line(0, 0, 1485, 0, Blue);
    box.Line(0, 0, 0, 735, Blue);
    if (!picture.isNull())
        box.PaintPicture(picture, 150, 150);
    box.setFont(textFont());
    box.setForeColor(Red);
    box.setCurrentX(450);
    box.setCurrentY(150);
    for (int i = 0; i < caption.size(); ++i) {
        box.setFontUnderline(i == 1);
        box.Print(caption.mid(i, 1));
    }
    box.setFontUnderline(false);
}

void prepare(PictureBox &box, int width = 100, int height = 50)
{
    box.Move(0, 0, float(width * 15), float(height * 15));
    box.setBackColor(White);
}

} // namespace

class tst_PictureBoxRedraw : public QObject
{
    Q_OBJECT

private slots:
    void sameFaceAgainIsTheSame();
    void changedPictureIsDrawnAnew();
    void paletteChangeReachesTheNextDrawing();
    void resizeBetweenClearingAndDrawing();
    void readingBetweenStepsChangesNothing();
    void longDrawingIsDrawnInFull();
};

void tst_PictureBoxRedraw::sameFaceAgainIsTheSame()
{
    PictureBox fresh;
    prepare(fresh);
    drawFace(fresh, QStringLiteral("One"));
    const QImage one = fresh.Image();

    PictureBox box;
    prepare(box);
    drawFace(box, QStringLiteral("One"));
    QVERIFY(samePixels(box.Image(), one));
    drawFace(box, QStringLiteral("Two"));
    const QImage two = box.Image();
    QVERIFY(!samePixels(two, one));
    for (int round = 0; round < 3; ++round) {
        drawFace(box, QStringLiteral("One"));
        QVERIFY(samePixels(box.Image(), one));
        QCOMPARE(box.CurrentX(), fresh.CurrentX());
        drawFace(box, QStringLiteral("Two"));
        QVERIFY(samePixels(box.Image(), two));
    }
    // Many faces in turn: a face no longer kept gives its image to the next one, unless that
    // image is still held elsewhere.
    QList<QImage> held;
    for (int i = 0; i < 24; ++i) {
        const QString caption = QString::number(i * 7);
        drawFace(box, caption);
        drawFace(fresh, caption);
        QVERIFY2(samePixels(box.Image(), fresh.Image()), qPrintable(caption));
        if (i % 2 == 0)
            held.append(box.Image());
    }
    for (int i = 0; i < held.size(); ++i) {
        drawFace(fresh, QString::number(i * 14));
        QVERIFY2(samePixels(held.at(i), fresh.Image()), qPrintable(QString::number(i * 14)));
    }
}

// A picture is drawn as it is when drawn, not as it was the last time.
void tst_PictureBoxRedraw::changedPictureIsDrawnAnew()
{
    QImage picture = imagetools::solidImage(8, 8, Qt::green);
    PictureBox box;
    prepare(box);
    drawFace(box, QStringLiteral("Go"), picture);
    QCOMPARE(countOf(box.Image(), Qt::green), 64);

    picture.fill(Qt::yellow);
    drawFace(box, QStringLiteral("Go"), picture);
    const QImage image = box.Image();
    QCOMPARE(countOf(image, Qt::green), 0);
    QCOMPARE(countOf(image, Qt::yellow), 64);
}

// A system colour is looked up when it is drawn.
void tst_PictureBoxRedraw::paletteChangeReachesTheNextDrawing()
{
    PictureBox box;
    box.Move(0, 0, 1500, 750);
    box.setBackColor(White);
    const auto drawWithPalette = [&](QColor face) {
        QPalette palette = box.palette();
        palette.setColor(QPalette::All, QPalette::Button, face);
        box.setPalette(palette);
        box.Cls();
        box.Line(150, 150, 300, 300, forms::SystemColor::ButtonFace);
        return box.Image();
    };
    const QColor first(0x12, 0x34, 0x56), second(0x65, 0x43, 0x21);
    QCOMPARE(countOf(drawWithPalette(first), first), 11 * 11);
    QCOMPARE(countOf(drawWithPalette(second), second), 11 * 11);
    QCOMPARE(countOf(drawWithPalette(first), first), 11 * 11);
}

// A surface that grows between steps keeps what was drawn before and clears the new part.
void tst_PictureBoxRedraw::resizeBetweenClearingAndDrawing()
{
    const auto draw = [](bool readBeforeGrowing) {
        PictureBox box;
        prepare(box);
        box.setFont(textFont());
        box.setForeColor(Red);
        box.Cls();
        box.setCurrentX(150);
        box.setCurrentY(150);
        box.Print(QStringLiteral("A"));
        if (readBeforeGrowing)
            box.Image();
        box.Move(0, 0, 3000, 1500);
        box.Line(1650, 900, 1800, 1050, Blue);
        return box.Image();
    };
    const QImage image = draw(false);
    QCOMPARE(image.size(), QSize(200, 100));
    QVERIFY(countOf(image, Qt::red) > 0);
    QCOMPARE(countOf(image, Qt::blue), 11 * 11);
    QVERIFY(samePixels(image, draw(true)));
}

void tst_PictureBoxRedraw::readingBetweenStepsChangesNothing()
{
    const auto draw = [](bool readBetween) {
        PictureBox box;
        prepare(box);
        box.setFont(textFont());
        box.Cls();
        box.setForeColor(Red);
        box.Print(QStringLiteral("ab"));
        if (readBetween)
            box.Image();
        box.setForeColor(Blue);
        box.Print(QStringLiteral("cd"));
        return box.Image();
    };
    const QImage straight = draw(false);
    QVERIFY(countOf(straight, Qt::red) > 0);
    QVERIFY(countOf(straight, Qt::blue) > 0);
    QVERIFY(samePixels(draw(true), straight));
}

// Far more steps than a button's face takes are all drawn, in order.
void tst_PictureBoxRedraw::longDrawingIsDrawnInFull()
{
    PictureBox box;
    prepare(box);
    box.Cls();
    for (int i = 0; i < 1000; ++i)
        box.Line(float(i % 100 * 15), float(i / 100 * 15), float(i % 100 * 15), float(i / 100 * 15),
                 i % 2 ? Red : Blue);
    box.Line(0, 0, 0, 0, Red);
    const QImage image = box.Image();
    QCOMPARE(countOf(image, Qt::red), 501);
    QCOMPARE(countOf(image, Qt::blue), 499);
}

QTEST_MAIN(tst_PictureBoxRedraw)
#include "tst_picturebox_redraw.moc"
