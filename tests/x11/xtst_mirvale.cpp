// The real program under a real X server, driven with real X input (xdotool).
#include "colors.h"
#include "stdfont.h"
#include "twips.h"
#include "x11/x11tools.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QElapsedTimer>
#include <QMenuBar>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>
#include <QTest>

namespace {

const QString Program = QStringLiteral(MIRVALE_BINARY_DIR "/app/mirvale");

QString findWindow(const QString &title)
{
    return xdotool(
               {"search", "--onlyvisible", "--name", "^" + QRegularExpression::escape(title) + "$"})
        .section(u'\n', 0, 0);
}

QString waitForWindow(const QString &title, int timeout = 10000)
{
    QElapsedTimer clock;
    clock.start();
    QString window;
    while (window.isEmpty() && clock.elapsed() < timeout) {
        window = findWindow(title);
        if (window.isEmpty())
            QTest::qWait(50);
    }
    return window;
}

// Gives a window the keyboard: through the window manager where one runs, directly otherwise.
void focus(const QString &window)
{
    QProcess activate;
    activate.start(QStringLiteral("xdotool"), {"windowactivate", "--sync", window});
    if (!activate.waitForFinished(2000) || activate.exitCode() != 0) {
        activate.kill();
        xdotool({"windowfocus", "--sync", window});
    }
}

// The window's own area on the screen, without the frame a window manager adds.
QRect windowGeometry(const QString &window)
{
    const QString info = run(QStringLiteral("xwininfo"), {"-id", window});
    auto value = [&](const QString &label) {
        const QRegularExpression pattern(QRegularExpression::escape(label) +
                                         QStringLiteral(":\\s*(-?\\d+)"));
        return pattern.match(info).captured(1).toInt();
    };
    return QRect(value("Absolute upper-left X"), value("Absolute upper-left Y"), value("Width"),
                 value("Height"));
}

// The frame a window manager put around a window: left, right, top, bottom; none without one.
QMargins frameExtents(const QString &window)
{
    const QString text = run(QStringLiteral("xprop"), {"-id", window, "_NET_FRAME_EXTENTS"});
    const QStringList values = text.section(u'=', 1).split(u',', Qt::SkipEmptyParts);
    if (values.size() != 4)
        return {};
    return QMargins(values[0].trimmed().toInt(), values[2].trimmed().toInt(),
                    values[1].trimmed().toInt(), values[3].trimmed().toInt());
}

// The calculator's menu bar is as tall as one with the same caption and font in this process.
int menuBarHeight()
{
    QMenuBar bar;
    bar.setFont(forms::defaultWindowFont());
    bar.addMenu(QStringLiteral("&File"));
    return bar.sizeHint().height();
}

enum class Face { Flat, Raised, Sunken, Other };

// A button face on the screen by its corners: light over dark raised, dark over light sunken,
// the button colour all round flat.
Face faceOf(const QRect &area)
{
    const QImage shot = QGuiApplication::primaryScreen()
                            ->grabWindow(0, area.x(), area.y(), area.width(), area.height())
                            .toImage();
    if (shot.width() < 2 || shot.height() < 2)
        return Face::Other;
    const QColor topLeft = shot.pixelColor(0, 0);
    const QColor bottomRight = shot.pixelColor(shot.width() - 1, shot.height() - 1);
    const QColor light(255, 255, 255), dark(128, 128, 128);
    if (topLeft == light && bottomRight == dark)
        return Face::Raised;
    if (topLeft == dark && bottomRight == light)
        return Face::Sunken;
    const QColor flat = forms::toQColor(forms::SystemColor::ButtonFace);
    return topLeft == flat && bottomRight == flat ? Face::Flat : Face::Other;
}

} // namespace

class xtst_Mirvale : public QObject
{
    Q_OBJECT

private slots:
    void labSession();

private:
    QPoint at(float leftTwips, float topTwips) const
    {
        return m_client + QPoint(forms::twipsToPixelsX(leftTwips), forms::twipsToPixelsY(topTwips));
    }
    void moveTo(const QPoint &point)
    {
        xdotool({"mousemove", "--sync", QString::number(point.x()), QString::number(point.y())});
    }
    void click(const QPoint &point)
    {
        moveTo(point);
        xdotool({"click", "1"});
    }
    // The text of a field, selected and copied as a user would.
    QString copyField(const QPoint &point)
    {
        QApplication::clipboard()->setText(QStringLiteral("-"));
        click(point);
        xdotool({"key", "ctrl+a", "ctrl+c"});
        QElapsedTimer clock;
        clock.start();
        QString text;
        do {
            QTest::qWait(50);
            text = QApplication::clipboard()->text();
        } while (text == u"-" && clock.elapsed() < 3000);
        return text;
    }

    QPoint m_client;
};

void xtst_Mirvale::labSession()
{
    QProcess program;
    program.setProcessChannelMode(QProcess::ForwardedChannels);
    // Numbers as an English-speaking lab writes them.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("en_US.UTF-8"));
    program.setProcessEnvironment(environment);
    program.start(Program, {});
    QVERIFY(program.waitForStarted());
    const QString window = waitForWindow(QStringLiteral("Mirvale V. 1.0.1"));
    QVERIFY2(!window.isEmpty(), "the calculator window did not appear");
    focus(window);
    // The window is centred on the screen by its outer size, frame included, once the window
    // manager has framed it.
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    QPoint offset;
    QElapsedTimer settle;
    settle.start();
    do {
        QTest::qWait(100);
        const QRect outer = windowGeometry(window).marginsAdded(frameExtents(window));
        offset = outer.center() - screen.center();
    } while ((qAbs(offset.x()) > 1 || qAbs(offset.y()) > 1) && settle.elapsed() < 3000);
    QVERIFY2(qAbs(offset.x()) <= 1 && qAbs(offset.y()) <= 1,
             qPrintable(QStringLiteral("off centre by %1, %2").arg(offset.x()).arg(offset.y())));
    const QRect frame = windowGeometry(window);
    m_client = frame.topLeft() + QPoint(0, menuBarHeight());
    // It opened at the stored client area (3735 x 4050 twips) with the menu bar and the frame
    // around it, or at the minimum outer size (3855 x 4740 twips) where that is larger.
    const QMargins extents = frameExtents(window);
    const QSize outer = frame.marginsAdded(extents).size();
    const QSize wanted =
        QSize(forms::twipsToPixelsX(3735) + extents.left() + extents.right(),
              forms::twipsToPixelsY(4050) + menuBarHeight() + extents.top() + extents.bottom())
            .expandedTo(QSize(forms::twipsToPixelsX(3855), forms::twipsToPixelsY(4740)));
    QCOMPARE(outer, wanted);
    // The buttons sit centred as a pair, 45 twips above the bottom edge.
    const float clientWidth = forms::pixelsToTwipsX(float(frame.width()));
    const float clientHeight = forms::pixelsToTwipsY(float(frame.height() - menuBarHeight()));
    const QPoint faceCorner = at((clientWidth - 2 * 1635 - 45) / 2, clientHeight - 45 - 465);
    const QRect face(faceCorner, QSize(forms::twipsToPixelsX(1635), forms::twipsToPixelsY(465)));
    const auto shown = [&] { return faceOf(face); };
    QVERIFY2(QTest::qWaitFor([&] { return shown() == Face::Flat; }), "the window was not drawn");
    screenshot(frame, QStringLiteral("mirvale.png"));

    // Enter walks the fields and Enter in the last one calculates.
    for (const char *number : {"10", "1", "100"}) {
        xdotool({"type", "--delay", "40", number});
        xdotool({"key", "Return"});
    }
    const QPoint stockVolume = at(1530 + 300, 2340 + 187);
    const QPoint diluentVolume = at(1530 + 300, 2835 + 187);
    QCOMPARE(copyField(stockVolume), QStringLiteral("10"));
    QCOMPARE(copyField(diluentVolume), QStringLiteral("90"));

    // The pointer over the Calculate button raises it.
    moveTo(face.center());
    QVERIFY2(QTest::qWaitFor([&] { return shown() == Face::Raised; }),
             "the raised face never reached the screen");
    screenshot(frame, QStringLiteral("mirvale-raised.png"));

    // F5 shows the Calculate button pressed on the real screen while the program pauses: a
    // sunken edge (dark top-left, light bottom-right) is seen, then the flat face again.
    click(at(1545 + 300, 1170 + 187));
    moveTo(frame.bottomRight() + QPoint(40, 40));
    QVERIFY2(QTest::qWaitFor([&] { return shown() == Face::Flat; }),
             "the face did not flatten when the pointer left");
    xdotool({"key", "F5"});
    bool sunken = false, flatAfter = false;
    QElapsedTimer pressClock;
    pressClock.start();
    while (pressClock.elapsed() < 1500 && !(sunken && flatAfter)) {
        const Face now = shown();
        if (now == Face::Sunken)
            sunken = true;
        else if (sunken && now == Face::Flat)
            flatAfter = true;
    }
    QVERIFY2(sunken, "the pressed face never reached the screen");
    QVERIFY2(flatAfter, "the face did not return to rest");

    // A stock concentration that is not a number, or a decimal comma typed under English (read
    // as 125 it would give a volume 10 times off): one warning box each, closed with Enter.
    for (const char *typed : {"abc", "12,5"}) {
        click(at(1545 + 300, 675 + 187));
        xdotool({"key", "ctrl+a"});
        xdotool({"type", "--delay", "40", typed});
        xdotool({"key", "F5"});
        const QString box = waitForWindow(QStringLiteral("Error!"));
        QVERIFY2(!box.isEmpty(), qPrintable(QStringLiteral("no warning box for %1").arg(typed)));
        QTest::qWait(300);
        if (qstrcmp(typed, "abc") == 0)
            screenshot(frame.united(windowGeometry(box)), QStringLiteral("mirvale-error.png"));
        focus(box);
        xdotool({"key", "Return"});
        QElapsedTimer clock;
        clock.start();
        while (!findWindow(QStringLiteral("Error!")).isEmpty() && clock.elapsed() < 5000)
            QTest::qWait(50);
        QVERIFY2(findWindow(QStringLiteral("Error!")).isEmpty(), "the warning box did not close");
        // The results are as they were.
        QCOMPARE(copyField(stockVolume), QStringLiteral("10"));
    }

    // Ctrl+E with the focus in a field ends the program.
    click(at(1545 + 300, 1170 + 187));
    xdotool({"key", "ctrl+e"});
    QVERIFY2(program.waitForFinished(5000), "the program did not end");
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 0);
}

QTEST_MAIN(xtst_Mirvale)
#include "xtst_mirvale.moc"
