// The calculator as the client of a real Wayland compositor (weston, started by
// run-under-weston.sh as a window of a private X server), driven with real X input on that
// window. On Wayland a program learns the pointer's position only while the pointer is over one
// of its own windows.

#include "application.h"
#include "frmmirvale.h"
#include "lumobutton.h"
#include "picturebox.h"
#include "twips.h"
#include "x11/x11tools.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMenuBar>
#include <QRegularExpression>
#include <QScreen>
#include <QTest>

#include <cstring>
#include <functional>

namespace {

enum class Face { Flat, Raised, Sunken, Other };

// The real buttons' faces by their corners: white over grey raised, grey over white sunken, one
// colour all round flat.
Face faceOf(const QImage &image)
{
    if (image.width() < 2 || image.height() < 2)
        return Face::Other;
    const QColor topLeft = image.pixelColor(0, 0);
    const QColor bottomRight = image.pixelColor(image.width() - 1, image.height() - 1);
    const QColor white(255, 255, 255), grey(128, 128, 128);
    if (topLeft == white && bottomRight == grey)
        return Face::Raised;
    if (topLeft == grey && bottomRight == white)
        return Face::Sunken;
    return topLeft == bottomRight ? Face::Flat : Face::Other;
}

// The compositor's window on the X screen: the Wayland output.
QRect compositorWindow()
{
    const QString tree = run(QStringLiteral("xwininfo"), {"-root", "-tree"});
    const QRegularExpression pattern(
        QStringLiteral("\"Weston Compositor[^\"]*\".*\\s(\\d+)x(\\d+)\\+(-?\\d+)\\+(-?\\d+)"));
    const QRegularExpressionMatch match = pattern.match(tree);
    if (!match.hasMatch())
        return {};
    return QRect(match.captured(3).toInt(), match.captured(4).toInt(), match.captured(1).toInt(),
                 match.captured(2).toInt());
}

// Where a picture appears unchanged in a larger one; null when it does not. The compositor
// places a new window where it likes and does not tell the program, so a test finds it on the
// screen by what it shows.
QPoint find(const QImage &haystack, const QImage &needle)
{
    const QImage big = haystack.convertToFormat(QImage::Format_RGB32);
    const QImage small = needle.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y + small.height() <= big.height(); ++y) {
        for (int x = 0; x + small.width() <= big.width(); ++x) {
            bool same = true;
            for (int row = 0; same && row < small.height(); ++row) {
                const auto *a = reinterpret_cast<const QRgb *>(big.constScanLine(y + row)) + x;
                const auto *b = reinterpret_cast<const QRgb *>(small.constScanLine(row));
                same = std::equal(b, b + small.width(), a);
            }
            if (same)
                return QPoint(x, y);
        }
    }
    return QPoint(-1, -1);
}

// What the X screen shows in an area, read by another process.
QImage screenArea(const QRect &area)
{
    const QString file = QDir::temp().filePath(
        QStringLiteral("wtst_mirvale_%1.png").arg(QCoreApplication::applicationPid()));
    run(QStringLiteral("import"), {"-window", "root", "-crop",
                                   QStringLiteral("%1x%2+%3+%4")
                                       .arg(area.width())
                                       .arg(area.height())
                                       .arg(area.x())
                                       .arg(area.y()),
                                   "+repage", QStringLiteral("png:") + file});
    const QImage image(file);
    QFile::remove(file);
    return image;
}

// Started as a separate X client, this process watches an area of the X screen for 3 s while
// the calculator's thread is blocked in its press pause: it prints "sunken" once the sunken face
// has been seen there and "flat" once the flat face has come back after it.
int watchPress(const QRect &area)
{
    qputenv("QT_QPA_PLATFORM", "xcb");
    int argc = 1;
    char name[] = "wtst_mirvale";
    char *argv[] = {name, nullptr};
    QGuiApplication application(argc, argv);
    QScreen *screen = QGuiApplication::primaryScreen();
    std::fputs("ready\n", stdout);
    std::fflush(stdout);
    bool sunken = false, flatAfter = false;
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 3000 && !(sunken && flatAfter)) {
        const Face face = faceOf(
            screen->grabWindow(0, area.x(), area.y(), area.width(), area.height()).toImage());
        if (face == Face::Sunken && !sunken) {
            sunken = true;
            std::fputs("sunken\n", stdout);
        } else if (face == Face::Flat && sunken && !flatAfter) {
            flatAfter = true;
            std::fputs("flat\n", stdout);
        }
        std::fflush(stdout);
    }
    return 0;
}

// The tooltip that opens once the pointer has rested on a button would cover the faces the tests
// watch on the screen.
class NoToolTips : public QObject
{
protected:
    bool eventFilter(QObject *, QEvent *event) override { return event->type() == QEvent::ToolTip; }
};

} // namespace

class wtst_Mirvale : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void enteringAndLeavingTheWindowOverTheButton_data();
    void enteringAndLeavingTheWindowOverTheButton();
    void pressIsOnScreenDuringThePause();

private:
    // A point of a widget on the X screen.
    QPoint onScreen(const QWidget *widget, QPoint local) const
    {
        return m_origin + widget->mapTo(m_form.get(), local);
    }
    QRect onScreen(const QWidget *widget) const
    {
        return QRect(onScreen(widget, QPoint(0, 0)), widget->size());
    }
    // On the panel along the output's bottom edge, where no window opens: a window that opened
    // under the pointer would be told of it.
    QPoint restingPlace() const { return QPoint(m_output.center().x(), m_output.bottom() - 4); }
    void moveTo(QPoint point)
    {
        xdotool({"mousemove", QString::number(point.x()), QString::number(point.y())});
    }

    NoToolTips m_noToolTips;
    QRect m_output;
    QPoint m_outside;
    QPoint m_origin;
    std::unique_ptr<frmMirvale> m_form;
    LumoButton *m_calculate = nullptr;
    forms::PictureBox *m_face = nullptr;
};

void wtst_Mirvale::initTestCase()
{
    QCOMPARE(QGuiApplication::platformName(), QStringLiteral("wayland"));
    SetUpApplication();
    QCoreApplication::instance()->installEventFilter(&m_noToolTips);
    m_output = compositorWindow();
    QVERIFY2(m_output.isValid(), "the compositor's window was not found on the X screen");
    // The compositor takes the pointer's place from the X pointer crossing into its window, and
    // adds up the moves after that: the pointer crosses in from outside, wherever it started.
    const QStringList screen = xdotool({"getdisplaygeometry"}).split(u' ');
    QCOMPARE(screen.size(), 2);
    m_outside = QPoint(screen[0].toInt() - 1, screen[1].toInt() - 1);
    QVERIFY2(!m_output.contains(m_outside), "the compositor's window fills the X screen");
    moveTo(m_outside);
    moveTo(restingPlace());
}

void wtst_Mirvale::init()
{
    moveTo(restingPlace());
    m_form = std::make_unique<frmMirvale>();
    m_calculate = m_form->control<LumoButton>(QStringLiteral("cmdAction"), 0);
    QVERIFY(m_calculate);
    m_face = m_calculate->findChild<forms::PictureBox *>(QStringLiteral("picButton"));
    m_form->Show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    QPoint found;
    const auto shown = [&] {
        found = find(screenArea(m_output), m_face->Image());
        return found.x() >= 0;
    };
    QVERIFY2(QTest::qWaitFor(shown), "the Calculate button was not found on the screen");
    m_origin = m_output.topLeft() + found - m_face->mapTo(m_form.get(), QPoint(0, 0));
    // It opened at the stored client area (3735 x 4050 twips) with the menu bar and the frame it
    // draws itself around it, or at the minimum outer size where that is larger.
    const QMargins frame = m_form->windowHandle()->frameMargins();
    const QSize wanted = QSize(forms::twipsToPixelsX(3735) + frame.left() + frame.right(),
                               forms::twipsToPixelsY(4050) + m_form->menuBar()->height() +
                                   frame.top() + frame.bottom())
                             .expandedTo(QSize(forms::twipsToPixelsX(frmMirvale::MinimumWidth),
                                               forms::twipsToPixelsY(frmMirvale::MinimumHeight)));
    QCOMPARE(m_form->frameGeometry().size(), wanted);
    QCOMPARE(faceOf(screenArea(onScreen(m_face))), Face::Flat);
}

// The next window must not be mistaken for this one still on the screen: its face has to be
// gone from the whole output first.
void wtst_Mirvale::cleanup()
{
    const QImage shown = m_face->Image();
    m_form.reset();
    QVERIFY2(QTest::qWaitFor([&] { return find(screenArea(m_output), shown).x() < 0; }),
             "the closed window stayed on the screen");
}

void wtst_Mirvale::enteringAndLeavingTheWindowOverTheButton_data()
{
    QTest::addColumn<bool>("fromOutsideTheCompositor");
    // The compositor tells the window that the pointer has entered it, and then that it moved.
    QTest::newRow("from below the window") << false;
    // The compositor tells the window only that the pointer has entered it at a place, as it does
    // for a window that opens or is uncovered under a pointer at rest.
    QTest::newRow("from outside the compositor") << true;
}

// Calculate sits 3 px above the window's bottom edge. The pointer jumps onto it in one move and
// leaves the window straight down again, where the window learns only that the pointer has left
// it: the button must take that as the pointer leaving its face.
void wtst_Mirvale::enteringAndLeavingTheWindowOverTheButton()
{
    QFETCH(bool, fromOutsideTheCompositor);
    int exits = 0;
    connect(m_calculate, &LumoButton::MouseExit, this, [&] { ++exits; });
    const QRect face = onScreen(m_face);
    const int below =
        m_origin.y() + m_form->height() + m_form->windowHandle()->frameMargins().bottom();
    const QPoint underneath(face.center().x(), std::min(below + 10, m_output.bottom()));
    moveTo(underneath);
    QVERIFY(QTest::qWaitFor([&] { return !m_form->underMouse(); }));
    if (fromOutsideTheCompositor)
        moveTo(m_outside);

    moveTo(face.center());
    QVERIFY2(QTest::qWaitFor([&] { return m_calculate->PointerInside(); }),
             "the pointer's arrival was not noticed");
    QVERIFY2(QTest::qWaitFor([&] { return faceOf(screenArea(face)) == Face::Raised; }),
             "the raised face did not reach the screen");

    QElapsedTimer clock;
    moveTo(underneath);
    clock.start();
    QVERIFY2(QTest::qWaitFor([&] { return exits > 0; }, 2000), "no MouseExit");
    const qint64 exitAfter = clock.elapsed();
    const auto drawnFlat = [&] { return faceOf(m_face->Image()) == Face::Flat; };
    QVERIFY(QTest::qWaitFor(drawnFlat, 300));
    const qint64 flatAfter = clock.elapsed();
    qInfo("left the window: MouseExit after %lld ms, flat face drawn after %lld ms", exitAfter,
          flatAfter);
    QVERIFY2(flatAfter <= 300, qPrintable(QString::number(flatAfter)));
    QVERIFY2(QTest::qWaitFor([&] { return faceOf(screenArea(face)) == Face::Flat; }),
             "the flat face did not reach the screen");
    QTest::qWait(250);
    QCOMPARE(exits, 1);
    QVERIFY(!m_calculate->PointerInside());
    QVERIFY(!m_calculate->isCapturing());
}

// F5 shows the Calculate button sunken while the program pauses, then flat again. The screen is
// watched from another process, since this thread is blocked during the pause.
void wtst_Mirvale::pressIsOnScreenDuringThePause()
{
    // Numbers in the fields, so that the calculation that follows the press warns of nothing.
    for (const char *name : {"txtStock", "txtFinal", "txtFinalVolume"})
        m_form->control<QLineEdit>(QString::fromLatin1(name))->setText(QStringLiteral("2"));
    // A click in a field gives the window the keyboard, as a user would; not the first field,
    // which has the focus already.
    QLineEdit *volume = m_form->control<QLineEdit>(QStringLiteral("txtFinalVolume"));
    moveTo(onScreen(volume, volume->rect().center()));
    xdotool({"click", "1"});
    QVERIFY2(QTest::qWaitFor([&] { return m_form->isActiveWindow() && volume->hasFocus(); }),
             "the click did not reach the field");

    QProcess watcher;
    watcher.setProcessChannelMode(QProcess::SeparateChannels);
    const QRect face = onScreen(m_face);
    watcher.start(QCoreApplication::applicationFilePath(),
                  {QStringLiteral("--watch-press"), QString::number(face.x()),
                   QString::number(face.y()), QString::number(face.width()),
                   QString::number(face.height())});
    QVERIFY(watcher.waitForStarted());
    QVERIFY(watcher.waitForReadyRead(10000));
    QCOMPARE(watcher.readLine().trimmed(), QByteArray("ready"));
    xdotool({"key", "F5"});
    QVERIFY(QTest::qWaitFor([&] { return watcher.state() == QProcess::NotRunning; }, 10000));
    const QByteArray seen = watcher.readAllStandardOutput();
    // The press ran the calculation (2 x 2 / 2).
    QCOMPARE(m_form->control<QLineEdit>(QStringLiteral("txtStockVolume"))->text(),
             QStringLiteral("2"));
    QVERIFY2(seen.contains("sunken"), "the pressed face never reached the screen");
    QVERIFY2(seen.contains("flat"), "the face did not return to rest");
}

int main(int argc, char *argv[])
{
    if (argc == 6 && std::strcmp(argv[1], "--watch-press") == 0)
        return watchPress(
            QRect(std::atoi(argv[2]), std::atoi(argv[3]), std::atoi(argv[4]), std::atoi(argv[5])));
    QApplication application(argc, argv);
    wtst_Mirvale test;
    return QTest::qExec(&test, argc, argv);
}

#include "wtst_mirvale.moc"
