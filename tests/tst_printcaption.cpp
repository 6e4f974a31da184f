#include "lumobutton.h"
#include "picturebox.h"
#include "propertybag.h"

#include <QFontMetricsF>
#include <QTest>

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
    QImage device(1, 1, QImage::Format_RGB32);
    device.setDotsPerMeterX(qRound(96 / 0.0254));
    device.setDotsPerMeterY(qRound(96 / 0.0254));
    return QFontMetricsF(captionFont().toQFont(), &device).horizontalAdvance(text);
}

QPointF tst_PrintCaption::captionOrigin(const QString &caption) const
{
    QImage device(1, 1, QImage::Format_RGB32);
    device.setDotsPerMeterX(qRound(96 / 0.0254));
    device.setDotsPerMeterY(qRound(96 / 0.0254));
    const QFontMetricsF metrics(captionFont().toQFont(), &device);
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

QTEST_MAIN(tst_PrintCaption)
#include "tst_printcaption.moc"
