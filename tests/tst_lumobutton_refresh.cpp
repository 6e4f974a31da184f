#include "imagetools.h"
#include "lumobutton.h"
#include "picturebox.h"
#include "propertybag.h"
#include "twips.h"

#include <QApplication>
#include <QPainter>
#include <QTest>

using forms::OleColor;
using forms::PictureBox;
using forms::StdFont;
using forms::StdPicture;
using imagetools::boundsOf;
using imagetools::countOf;
using imagetools::inkBounds;

namespace {

constexpr OleColor Blue = 0x00FF0000; // the face's BackColor
constexpr OleColor Red = 0x000000FF;  // its ForeColor
constexpr float Twips = 15;           // one pixel

StdFont captionFont()
{
    StdFont font;
    font.name = QStringLiteral("DejaVu Sans");
    font.size = 9;
    return font;
}

struct Face
{
    int width = 1800; // twips
    int height = 900;
    qint16 alignment = 0;
    qint16 delta = 45;
    QSize picture; // pixels; empty for none
    QString caption = QStringLiteral("Exit");
};

// A designed window's button with the face's inputs, then redrawn with Refresh.
struct Host
{
    explicit Host(const Face &face)
    {
        container.setProperty(forms::UserControl::UserModeProperty, false);
        button = new LumoButton(&container);
        button->Move(0, 0, float(face.width), float(face.height));
        button->InitProperties();
        button->setFont(captionFont());
        button->setBackColor(Blue);
        button->setForeColor(Red);
        button->setAlignment(face.alignment);
        button->setDelta(face.delta);
        button->setCaption(face.caption);
        if (!face.picture.isEmpty())
            button->setPicture(StdPicture::fromImage(
                imagetools::solidImage(face.picture.width(), face.picture.height(), Qt::green)));
        button->Refresh();
    }

    PictureBox *visible() const { return button->findChild<PictureBox *>("picButton"); }
    QImage shown() const { return visible()->Image(); }

    QWidget container;
    LumoButton *button = nullptr;
};

// Where the caption starts: the layout rows for a plain face, in twips. tw and th are the
// caption's size in the face's font.
QPointF captionPosition(const Face &face, float tw, float th)
{
    const float L = 0, T = 0, W = float(face.width), H = float(face.height), D = face.delta;
    if (face.picture.isEmpty())
        return {(W - tw - L) / 2 + L, (H - th - T) / 2 + T};
    const float pw = float(face.picture.width()) * Twips, ph = float(face.picture.height()) * Twips;
    switch (face.alignment) {
    case 0:
        return {(W - pw - tw - L) / 2 + pw + L, (H - th - T) / 2 + T};
    case 1:
        return {L + D, (H - th - T) / 2 + T};
    default:
        return {(W - tw - L) / 2 + L, T + D + ph + D};
    }
}

// The expected face, drawn directly on a surface: background, picture where `picture` says,
// and the caption printed as stored at its layout position.
QImage expectedFace(const Face &face, const QRect &picture)
{
    PictureBox surface;
    surface.Move(0, 0, float(face.width), float(face.height));
    surface.setFont(captionFont());
    surface.setForeColor(Red);
    surface.setBackColor(Blue);
    surface.Line(0, 0, float(face.width), float(face.height), Blue);
    if (!picture.isNull())
        surface.PaintPicture(imagetools::solidImage(picture.width(), picture.height(), Qt::green),
                             float(picture.x()) * Twips, float(picture.y()) * Twips);
    const QPointF at =
        captionPosition(face, surface.TextWidth(face.caption), surface.TextHeight(face.caption));
    surface.setCurrentX(float(at.x()));
    surface.setCurrentY(float(at.y()));
    surface.Print(face.caption);
    return surface.Image();
}

} // namespace

Q_DECLARE_METATYPE(Face)

class tst_LumoButtonRefresh : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void plainFace_data();
    void plainFace();
    void ampersandIsPrintedAsStored();
    void faceCoversTheControl();
    void systemColoursFollowThePalette();
};

void tst_LumoButtonRefresh::initTestCase()
{
    QCOMPARE(forms::TwipsPerPixelX(), Twips);
    QCOMPARE(forms::TwipsPerPixelY(), Twips);
}

void tst_LumoButtonRefresh::plainFace_data()
{
    // The face is 120 x 60 pixels unless a row says otherwise; Delta 45 twips is 3 pixels, and
    // a 20 x 10 picture is 300 x 150 twips.
    QTest::addColumn<Face>("face");
    QTest::addColumn<QRect>("picture"); // where the picture lands, in pixels; null for none

    for (qint16 alignment : {0, 1, 2, -1}) {
        Face face;
        face.alignment = alignment;
        QTest::addRow("no picture, Alignment %d", alignment) << face << QRect();
    }
    {
        Face face;
        face.caption = QStringLiteral("Calculate (F5)");
        face.alignment = 1;
        QTest::newRow("no picture, longer caption") << face << QRect();
    }

    Face left;
    left.picture = QSize(20, 10);
    // x = Delta = 45; y = (900 - 150) / 2 = 375.
    QTest::newRow("picture left") << left << QRect(3, 25, 20, 10);

    Face right = left;
    right.alignment = 1;
    // x = 1800 - 45 - 300 = 1455.
    QTest::newRow("picture right") << right << QRect(97, 25, 20, 10);

    for (qint16 alignment : {2, 3, -1, 32767}) {
        Face above = left;
        above.alignment = alignment;
        // x = (1800 - 300) / 2 = 750; y = Delta.
        QTest::addRow("picture above, Alignment %d", alignment) << above << QRect(50, 3, 20, 10);
    }

    Face wideDelta = right;
    wideDelta.delta = 100;
    // x = 1800 - 100 - 300 = 1400 twips, 93.3 pixels.
    QTest::newRow("picture right, Delta not whole pixels") << wideDelta << QRect(93, 25, 20, 10);

    Face deltaAbove = left;
    deltaAbove.alignment = 2;
    deltaAbove.delta = 150;
    // y = 150 twips; the caption's top is 150 + 150 + 150 = 450.
    QTest::newRow("picture above, Delta 10 pixels") << deltaAbove << QRect(50, 10, 20, 10);

    // A halved distance keeps its fraction. (1800 - 315) / 2 = 742.5 twips, 49.5 pixels, which
    // is pixel 50 by either rounding of a half; dropping the fraction (742) would give 49.
    Face oddWidth = left;
    oddWidth.alignment = 2;
    oddWidth.picture = QSize(21, 10);
    QTest::newRow("half twip across") << oddWidth << QRect(50, 3, 21, 10);
    // (930 - 165) / 2 = 382.5 twips, 25.5 pixels: 26; dropping the fraction gives 25.
    Face oddHeight = left;
    oddHeight.height = 930;
    oddHeight.picture = QSize(20, 11);
    QTest::newRow("half twip down") << oddHeight << QRect(3, 26, 20, 11);

    Face empty = left;
    empty.alignment = 2;
    empty.caption.clear();
    QTest::newRow("empty caption, picture still placed") << empty << QRect(50, 3, 20, 10);

    Face marked;
    marked.caption = QStringLiteral("&Exit");
    QTest::newRow("marker printed, no picture") << marked << QRect();
    Face markedLeft = left;
    markedLeft.caption = QStringLiteral("E&x&&it&");
    QTest::newRow("markers printed, picture left") << markedLeft << QRect(3, 25, 20, 10);
}

void tst_LumoButtonRefresh::plainFace()
{
    QFETCH(Face, face);
    QFETCH(QRect, picture);
    Host host(face);
    const QImage shown = host.shown();
    QCOMPARE(shown.size(), QSize(face.width / 15, face.height / 15));

    // The picture, solid and at its natural size.
    QCOMPARE(boundsOf(shown, Qt::green), picture);
    QCOMPARE(countOf(shown, Qt::green), picture.width() * picture.height());
    // The background fills the face to its outermost pixels.
    for (const QPoint corner :
         {QPoint(0, 0), QPoint(shown.width() - 1, 0), QPoint(0, shown.height() - 1),
          QPoint(shown.width() - 1, shown.height() - 1)})
        QCOMPARE(shown.pixelColor(corner), QColor(Qt::blue));

    // The caption lies in its layout box. Glyphs may overhang their advance by part of a pixel,
    // which anti-aliasing turns into one more pixel on either side.
    PictureBox measure;
    measure.setFont(captionFont());
    const float tw = measure.TextWidth(face.caption), th = measure.TextHeight(face.caption);
    const QPointF at = captionPosition(face, tw, th);
    QImage text = shown;
    if (!picture.isNull()) {
        QPainter erase(&text);
        erase.fillRect(picture, Qt::blue);
    }
    const QRect ink = inkBounds(text, Qt::blue);
    if (face.caption.isEmpty()) {
        QVERIFY(ink.isNull());
    } else {
        QVERIFY(countOf(shown, Qt::red) > 0);
        const QRect box(QPoint(qRound(at.x() / Twips) - 1, qRound(at.y() / Twips)),
                        QPoint(qRound((at.x() + tw) / Twips) + 1, qRound((at.y() + th) / Twips)));
        QVERIFY2(box.contains(ink),
                 qPrintable(QStringLiteral("ink %1,%2 to %3,%4; box %5,%6 to %7,%8")
                                .arg(ink.left())
                                .arg(ink.top())
                                .arg(ink.right())
                                .arg(ink.bottom())
                                .arg(box.left())
                                .arg(box.top())
                                .arg(box.right())
                                .arg(box.bottom())));
    }

    // Pixel for pixel: the face drawn by hand from the layout rules.
    QVERIFY(imagetools::samePixels(shown, expectedFace(face, picture)));
}

void tst_LumoButtonRefresh::ampersandIsPrintedAsStored()
{
    Face plain;
    Face marked;
    marked.caption = QStringLiteral("&Exit");
    Host withoutMarker(plain);
    Host withMarker(marked);
    const QRect plainInk = inkBounds(withoutMarker.shown(), Qt::blue);
    const QRect markedInk = inkBounds(withMarker.shown(), Qt::blue);
    QVERIFY(!plainInk.isNull());
    // The "&" is a character of its own on this face.
    QVERIFY2(
        markedInk.width() > plainInk.width(),
        qPrintable(QStringLiteral("%1 against %2").arg(markedInk.width()).arg(plainInk.width())));

    // The unselected face turns the marker into an underline; the plain face drawn after it still
    // prints the caption as stored, underlining nothing.
    withMarker.button->DrawUnselected();
    QVERIFY(!imagetools::samePixels(withMarker.shown(), expectedFace(marked, QRect())));
    withMarker.button->Refresh();
    QVERIFY(imagetools::samePixels(withMarker.shown(), expectedFace(marked, QRect())));
}

void tst_LumoButtonRefresh::faceCoversTheControl()
{
    Face face;
    face.picture = QSize(20, 10);
    Host host(face);
    // Put the visible surface somewhere else; Refresh brings it back over the whole control.
    host.visible()->Move(300, 300, 600, 300);
    QCOMPARE(host.visible()->geometry(), QRect(20, 20, 40, 20));
    host.button->Refresh();
    QCOMPARE(host.visible()->geometry(), QRect(0, 0, 120, 60));
    QCOMPARE(host.shown().size(), QSize(120, 60));
    QVERIFY(imagetools::samePixels(host.shown(), expectedFace(face, QRect(3, 25, 20, 10))));

    // A larger control: the face drawn on the resize is laid out for the new size, not in the
    // scale the visible surface had before. y = (1200 - 150) / 2 = 525 twips.
    host.button->Move(0, 0, 2400, 1200);
    QCOMPARE(host.visible()->geometry(), QRect(0, 0, 160, 80));
    QCOMPARE(boundsOf(host.shown(), Qt::green), QRect(3, 35, 20, 10));
    host.button->Refresh();
    QCOMPARE(host.visible()->geometry(), QRect(0, 0, 160, 80));
    face.width = 2400;
    face.height = 1200;
    QCOMPARE(boundsOf(host.shown(), Qt::green), QRect(3, 35, 20, 10));
    QVERIFY(imagetools::samePixels(host.shown(), expectedFace(face, QRect(3, 35, 20, 10))));

    // Another holder's picture is not the plain face's.
    host.button->setPicture(StdPicture());
    host.button->setSelectedPicture(
        StdPicture::fromImage(imagetools::solidImage(8, 8, Qt::yellow)));
    host.button->setPressedPicture(
        StdPicture::fromImage(imagetools::solidImage(8, 8, Qt::magenta)));
    host.button->Refresh();
    QCOMPARE(countOf(host.shown(), Qt::yellow), 0);
    QCOMPARE(countOf(host.shown(), Qt::magenta), 0);
    face.picture = QSize();
    QVERIFY(imagetools::samePixels(host.shown(), expectedFace(face, QRect())));
}

void tst_LumoButtonRefresh::systemColoursFollowThePalette()
{
    const QPalette saved = QApplication::palette();
    QPalette palette = saved;
    const QColor face(0x12, 0x34, 0x56), text(0xEE, 0xDD, 0x11);
    palette.setColor(QPalette::All, QPalette::Button, face);
    palette.setColor(QPalette::All, QPalette::ButtonText, text);
    QApplication::setPalette(palette);

    QWidget container;
    container.setProperty(forms::UserControl::UserModeProperty, false);
    LumoButton button(&container);
    button.Move(0, 0, 1800, 900);
    button.ReadProperties(forms::PropertyBag()); // button face and button text
    button.setFont(captionFont());
    button.Refresh();
    const QImage shown = button.findChild<PictureBox *>("picButton")->Image();
    QApplication::setPalette(saved);

    QCOMPARE(button.BackColor(), forms::SystemColor::ButtonFace);
    QCOMPARE(button.ForeColor(), forms::SystemColor::ButtonText);
    QCOMPARE(shown.pixelColor(0, 0), face);
    QCOMPARE(shown.pixelColor(119, 59), face);
    QVERIFY(countOf(shown, text) > 0);
}

QTEST_MAIN(tst_LumoButtonRefresh)
#include "tst_lumobutton_refresh.moc"
