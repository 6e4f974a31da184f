#include "lumobutton.h"
#include "picturebox.h"
#include "propertybag.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPainter>
#include <QTest>
#include <QTextLayout>

#include <cmath>

namespace {

// The face's caption is black on white in a large face, so that an underline is many pixels.
forms::StdFont captionFont()
{
    forms::StdFont font;
    font.name = QStringLiteral("DejaVu Sans");
    font.size = 14;
    return font;
}

// What the button measures and lays out its captions for: a screen of 96 dots per inch.
const QImage &referenceDevice()
{
    static const QImage device = [] {
        QImage image(1, 1, QImage::Format_RGB32);
        image.setDotsPerMeterX(qRound(96 / 0.0254));
        image.setDotsPerMeterY(qRound(96 / 0.0254));
        return image;
    }();
    return device;
}

// The pixel columns with ink below the letters' baseline. No letter used here descends, so ink
// there is underline.
std::pair<int, int> underlineSpan(const QImage &face, int baseline)
{
    int first = -1, last = -1;
    for (int y = baseline + 1; y < face.height(); ++y) {
        for (int x = 0; x < face.width(); ++x) {
            if (qGray(face.pixel(x, y)) < 128) {
                first = first < 0 ? x : std::min(first, x);
                last = std::max(last, x);
            }
        }
    }
    return {first, last};
}

} // namespace

class tst_PrintCaption : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void underlinesTheMarkedCharacters_data();
    void underlinesTheMarkedCharacters();
    void trailingMarkerLeavesTheBufferUnderlined();
    void shapedCaptionsShowAsQtLaysThemOut_data();
    void shapedCaptionsShowAsQtLaysThemOut();

private:
    QImage face() { return m_button->findChild<forms::PictureBox *>("picButton")->Image(); }
    // Where the face prints the caption: centred by its width as stored, markers included.
    QPointF captionOrigin(const QString &caption) const;
    double advance(const QString &text) const;

    QWidget *m_container = nullptr;
    LumoButton *m_button = nullptr;
};

void tst_PrintCaption::init()
{
    m_container = new QWidget;
    m_container->setProperty("UserMode", false);
    m_button = new LumoButton(m_container);
    m_button->InitProperties();
    m_button->Move(0, 0, 3000, 900);
    m_button->setBackColor(0xFFFFFF);
    m_button->setForeColor(0x000000);
    m_button->setFont(captionFont());
}

void tst_PrintCaption::cleanup()
{
    delete m_container;
}

double tst_PrintCaption::advance(const QString &text) const
{
    return QFontMetricsF(captionFont().toQFont(), &referenceDevice()).horizontalAdvance(text);
}

QPointF tst_PrintCaption::captionOrigin(const QString &caption) const
{
    const QFontMetricsF metrics(captionFont().toQFont(), &referenceDevice());
    const double width = m_button->width(), height = m_button->height();
    return {std::floor((width - metrics.horizontalAdvance(caption)) / 2 + 0.5),
            std::floor((height - metrics.height()) / 2 + 0.5) + metrics.ascent()};
}

void tst_PrintCaption::underlinesTheMarkedCharacters_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("before"); // printed text ahead of the underlined run
    QTest::addColumn<QString>("underlined");
    QTest::newRow("first letter") << "&Exit"
                                  << ""
                                  << "E";
    QTest::newRow("inner letter") << "E&xit"
                                  << "E"
                                  << "x";
    QTest::newRow("two marked letters") << "&E&xit"
                                        << ""
                                        << "Ex";
    QTest::newRow("two markers in a row") << "&&Exit"
                                          << ""
                                          << "E";
    QTest::newRow("no marker") << "Exit"
                               << ""
                               << "";
    QTest::newRow("marker at the end") << "Exit&"
                                       << ""
                                       << "";
}

// Each "&" is dropped and underlines the next printed character only.
void tst_PrintCaption::underlinesTheMarkedCharacters()
{
    QFETCH(QString, caption);
    QFETCH(QString, before);
    QFETCH(QString, underlined);
    m_button->setCaption(caption);
    m_button->DrawUnselected();
    const QPointF origin = captionOrigin(caption);
    const auto [first, last] = underlineSpan(face(), int(origin.y()));
    if (underlined.isEmpty()) {
        QCOMPARE(first, -1);
        return;
    }
    const double start = origin.x() + advance(before);
    const double end = start + advance(underlined);
    QVERIFY2(first >= 0, "nothing is underlined");
    // An underline covers its characters' advance; a pixel either way is anti-aliasing.
    QVERIFY2(qAbs(first - start) <= 1.5 && qAbs(last + 1 - end) <= 1.5,
             qPrintable(QStringLiteral("underline %1..%2, expected %3..%4")
                            .arg(first)
                            .arg(last + 1)
                            .arg(start)
                            .arg(end)));
}

// A caption ending in "&" leaves the buffer's underline on, so the plain face that follows prints
// the whole caption underlined; the button's own font and what it stores stay as they were.
void tst_PrintCaption::trailingMarkerLeavesTheBufferUnderlined()
{
    m_button->setCaption("Exit&");
    m_button->DrawUnselected();
    m_button->Refresh();
    const QPointF origin = captionOrigin("Exit&");
    const auto [first, last] = underlineSpan(face(), int(origin.y()));
    QVERIFY(first >= 0);
    QVERIFY(last + 1 - first >= advance("Exit&") - 2);
    QVERIFY(!m_button->Font().underline);
    forms::PropertyBag bag;
    m_button->WriteProperties(bag);
    QVERIFY(!bag.ReadProperty("Font").value<forms::StdFont>().underline);
    // The next face sets its own font and prints without the stray underline.
    m_button->setCaption("Exit");
    m_button->DrawUnselected();
    QCOMPARE(underlineSpan(face(), int(captionOrigin("Exit").y())).first, -1);
}

void tst_PrintCaption::shapedCaptionsShowAsQtLaysThemOut_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("face");
    const struct
    {
        const char *name;
        const char *caption;
    } captions[] = {
        {"Arabic", "حساب الحجم"},
        {"Hebrew", "חשב נפח"},
        {"Latin and Arabic", "Calculate حساب"},
        // Spaced apart from each other in the line, not as clusters printed one by one.
        {"Devanagari", "गणना करें"},
        {"Devanagari conjunct", "क्षमता"},
        {"Thai", "คำนวณ"},
        {"marker inside an Arabic word", "حس&اب"},
        {"marker on the first Hebrew letter", "&חשב"},
    };
    for (const auto &c : captions) {
        for (const char *face : {"Refresh", "unselected", "selected", "pressed"})
            QTest::addRow("%s, %s", c.name, face) << QString::fromUtf8(c.caption) << face;
    }
}

// A caption in a script whose letters join, combine or run right to left shows as Qt lays it out:
// the glyphs QTextLayout gives the caption without its markers, in the same places, centred by
// that line's width, and the marked character underlined where the line shows it. Refresh shows
// the caption with its markers, laid out the same way.
void tst_PrintCaption::shapedCaptionsShowAsQtLaysThemOut()
{
    QFETCH(QString, caption);
    QFETCH(QString, face);
    const QStringList families = QFontDatabase::families();
    QVERIFY2(families.contains(u"Noto Sans Devanagari") && families.contains(u"Noto Sans Thai"),
             "the Noto fonts (fonts-noto-core) are needed");
    m_button->setFontSelected(captionFont());
    m_button->setFontPressed(captionFont());
    m_button->setCaption(caption);
    double shift = 0;
    if (face == u"Refresh") {
        m_button->Refresh();
    } else if (face == u"unselected") {
        m_button->DrawUnselected();
    } else if (face == u"selected") {
        m_button->DrawSelected();
    } else {
        m_button->DrawPressed();
        shift = m_button->Shift() / 15.0;
    }
    const QImage drawn = this->face().convertToFormat(QImage::Format_RGB32);

    // The data's markers each stand before one UTF-16 unit.
    QString shown = caption;
    qsizetype marked = -1;
    if (face != u"Refresh" && shown.contains(u'&')) {
        marked = shown.indexOf(u'&');
        shown.remove(u'&');
    }
    QTextLayout layout(shown, QFont(captionFont().toQFont(), &referenceDevice()));
    // In the text's own direction, as Qt's widgets lay out their text: a Refresh face that shows
    // the marker before a Hebrew word reads right to left, the marker on the right.
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    option.setTextDirection(shown.isRightToLeft() ? Qt::RightToLeft : Qt::LeftToRight);
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    layout.endLayout();
    line.setPosition(QPointF(0, -line.ascent()));
    const QPointF origin = captionOrigin(shown) + QPointF(shift, shift);
    QImage expected(drawn.size(), QImage::Format_RGB32);
    expected.setDevicePixelRatio(drawn.devicePixelRatio());
    expected.fill(Qt::white);
    {
        QPainter painter(&expected);
        painter.setPen(Qt::black);
        layout.draw(&painter, origin);
    }

    // Inside the border, every pixel is the layout's but for the underline: a band below the
    // baseline under the marked character's place in the line.
    const qreal ratio = drawn.devicePixelRatio();
    const int edge = qCeil(ratio);
    QRect underline;
    for (int y = edge; y < drawn.height() - edge; ++y) {
        for (int x = edge; x < drawn.width() - edge; ++x) {
            if (drawn.pixel(x, y) != expected.pixel(x, y))
                underline |= QRect(x, y, 1, 1);
        }
    }
    if (marked < 0) {
        QVERIFY2(underline.isNull(), qPrintable(QStringLiteral("the face differs from the layout "
                                                               "at %1,%2 %3x%4")
                                                    .arg(underline.x())
                                                    .arg(underline.y())
                                                    .arg(underline.width())
                                                    .arg(underline.height())));
        return;
    }
    QVERIFY2(!underline.isNull(), "nothing is underlined");
    const qreal from = line.cursorToX(int(marked)), to = line.cursorToX(int(marked) + 1);
    const qreal left = (origin.x() + std::min(from, to)) * ratio;
    const qreal right = (origin.x() + std::max(from, to)) * ratio;
    const QString where = QStringLiteral("underline %1..%2 x %3..%4, the character at %5..%6")
                              .arg(underline.left())
                              .arg(underline.right() + 1)
                              .arg(underline.top())
                              .arg(underline.bottom() + 1)
                              .arg(left)
                              .arg(right);
    QVERIFY2(qAbs(underline.left() - left) <= ratio + 0.5 &&
                 qAbs(underline.right() + 1 - right) <= ratio + 0.5,
             qPrintable(where));
    QVERIFY2(underline.top() > origin.y() * ratio && underline.height() <= 3 * ratio,
             qPrintable(where));
}

QTEST_MAIN(tst_PrintCaption)
#include "tst_printcaption.moc"
