// LumoButton in a real window on a real X server, driven with real X pointer input (xdotool):
// the raised face under the pointer, the sunken face while the button is held, Click on release,
// and the flat face with MouseExit soon after the pointer has gone.

#include "lumofacetools.h"
#include "twips.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>
#include <QTest>
#include <QToolButton>

#include <algorithm>
#include <functional>

using namespace lumofacetools;

namespace {

// Runs xdotool and waits for it to finish; the X server has then taken the input.
bool xdotool(const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral("xdotool"), arguments);
    if (!process.waitForFinished(10000)) {
        process.kill();
        process.waitForFinished();
        return false;
    }
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

bool movePointer(QPoint global)
{
    return xdotool(
        {QStringLiteral("mousemove"), QString::number(global.x()), QString::number(global.y())});
}

// What the screen itself shows: the root window, as the X server holds it.
QImage screenArea(const QRect &area)
{
    return QGuiApplication::primaryScreen()
        ->grabWindow(0, area.x(), area.y(), area.width(), area.height())
        .toImage();
}

// Kept when MIRVALE_SCREENSHOT_DIR names a folder.
void keepScreenshot(const QRect &area, const QString &name)
{
    const QString folder = qEnvironmentVariable("MIRVALE_SCREENSHOT_DIR");
    if (folder.isEmpty())
        return;
    QDir().mkpath(folder);
    screenArea(area).save(QDir(folder).filePath(name));
}

} // namespace

class tst_LumoButtonX11 : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void pointerRaisesPressesAndLeaves();
    void faceIsOnScreenDuringABlockingPause();
    void rightToLeftCaptionsReachTheScreen();
};

void tst_LumoButtonX11::initTestCase()
{
    QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
    QVERIFY2(!QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty(),
             "xdotool is needed");
    QVERIFY2(!QStandardPaths::findExecutable(QStringLiteral("import")).isEmpty(),
             "import (ImageMagick) is needed");
}

void tst_LumoButtonX11::pointerRaisesPressesAndLeaves()
{
    QVERIFY(movePointer(QPoint(5, 5)));

    QWidget window;
    window.setWindowTitle(QStringLiteral("LumoButton under X"));
    window.setGeometry(200, 150, 400, 200);
    auto *button = new LumoButton(&window);
    forms::PropertyBag bag = baseBag();
    bag.WriteProperty(QStringLiteral("Caption"), QStringLiteral("&Exit"));
    bag.WriteProperty(QStringLiteral("Picture"), QVariant::fromValue(solidPicture(PictureRgb)));
    button->ReadProperties(bag);
    button->Move(1500, 1200, 1800, 600);
    forms::PictureBox *face = faceOf(button);
    QStringList log;
    connect(button, &LumoButton::MouseEnter, this, [&] { log << "MouseEnter"; });
    connect(button, &LumoButton::MouseExit, this, [&] { log << "MouseExit"; });
    connect(button, &LumoButton::Click, this, [&] { log << "Click"; });

    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QRect faceRect(face->mapToGlobal(QPoint(0, 0)), face->size());
    const QRect around = faceRect.adjusted(-20, -20, 20, 20);
    const auto shown = [&] { return lookOf(screenArea(faceRect)); };
    QVERIFY2(QTest::qWaitFor([&] { return shown() == Look::Unselected; }), lookName(shown()));
    QVERIFY(log.isEmpty());

    // The pointer arrives: the raised face, light at the top left, dark at the other corners.
    QVERIFY(movePointer(faceRect.center()));
    QVERIFY(QTest::qWaitFor([&] { return button->PointerInside(); }));
    QVERIFY2(QTest::qWaitFor([&] { return shown() == Look::Selected; }), lookName(shown()));
    keepScreenshot(around, QStringLiteral("xtst_lumobutton_raised.png"));
    QCOMPARE(log, QStringList{"MouseEnter"});

    // The button goes down: the sunken face, dark at the top left.
    QVERIFY(xdotool({QStringLiteral("mousedown"), QStringLiteral("1")}));
    QVERIFY(QTest::qWaitFor([&] { return button->Value(); }));
    QVERIFY2(QTest::qWaitFor([&] { return shown() == Look::Pressed; }), lookName(shown()));
    keepScreenshot(around, QStringLiteral("xtst_lumobutton_pressed.png"));
    QCOMPARE(log, (QStringList{"MouseEnter", "MouseEnter"}));

    // The release clicks; the sunken face stays while the pointer rests.
    QVERIFY(xdotool({QStringLiteral("mouseup"), QStringLiteral("1")}));
    QVERIFY(QTest::qWaitFor([&] { return log.contains("Click"); }));
    QCOMPARE(log, (QStringList{"MouseEnter", "MouseEnter", "MouseEnter", "Click"}));
    QCOMPARE(shown(), Look::Pressed);

    // The pointer leaves: the next tick of the 100 ms capture timer notices.
    QVERIFY(movePointer(QPoint(5, 5)));
    QElapsedTimer clock;
    clock.start();
    QVERIFY(QTest::qWaitFor([&] { return log.contains("MouseExit"); }, 3000));
    const qint64 noticed = clock.elapsed();
    qInfo("MouseExit %lld ms after the pointer left", noticed);
    QVERIFY2(noticed < 600, qPrintable(QString::number(noticed)));
    QVERIFY2(QTest::qWaitFor([&] { return shown() == Look::Unselected; }), lookName(shown()));
    keepScreenshot(around, QStringLiteral("xtst_lumobutton_left.png"));
    QCOMPARE(log, (QStringList{"MouseEnter", "MouseEnter", "MouseEnter", "Click", "MouseExit"}));
    QVERIFY(!button->PointerInside());
    QVERIFY(!button->isCapturing());
}

// A face drawn just before the thread blocks (as the menu's 125 ms press does) is already on
// the screen during the pause: drawing shows it at once, without waiting for the event loop.
void tst_LumoButtonX11::faceIsOnScreenDuringABlockingPause()
{
    QVERIFY(movePointer(QPoint(5, 5)));
    QWidget window;
    window.setGeometry(200, 150, 400, 200);
    auto *button = new LumoButton(&window);
    button->ReadProperties(baseBag());
    button->Move(1500, 1200, 1800, 600);
    forms::PictureBox *face = faceOf(button);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QRect faceRect(face->mapToGlobal(QPoint(0, 0)), face->size());
    QVERIFY(QTest::qWaitFor([&] { return lookOf(screenArea(faceRect)) == Look::Unselected; }));

    const QString file = QDir::temp().filePath(
        QStringLiteral("xtst_lumobutton_pause_%1.png").arg(QCoreApplication::applicationPid()));
    button->DrawPressed();
    // The screen is read by another process while this thread waits for it without running
    // its event loop.
    QProcess grab;
    grab.start(QStringLiteral("import"),
               {QStringLiteral("-window"), QStringLiteral("root"), QStringLiteral("png:") + file});
    QVERIFY(grab.waitForFinished(20000));
    QCOMPARE(grab.exitCode(), 0);
    button->DrawUnselected();

    const QImage screen(file);
    QFile::remove(file);
    QVERIFY(!screen.isNull());
    QCOMPARE(lookOf(screen.copy(faceRect)), Look::Pressed);
}

// Arabic and Hebrew captions on the real screen: each button in its three faces, and a stock
// QToolButton (autoRaise) with the same caption beside them. What reaches the screen is what the
// faces drew.
void tst_LumoButtonX11::rightToLeftCaptionsReachTheScreen()
{
    QVERIFY(movePointer(QPoint(5, 5)));
    QWidget window;
    window.setWindowTitle(QStringLiteral("LumoButton captions"));
    window.setFont(forms::defaultWindowFont());
    window.setGeometry(200, 150, 4 * 125 + 5, 2 * 40 + 1);
    const QStringList captions{QString::fromUtf8("حساب الحجم"), QString::fromUtf8("חשב נפח")};
    QList<LumoButton *> buttons;
    for (qsizetype row = 0; row < captions.size(); ++row) {
        const int top = 5 + int(row) * 40;
        for (int column = 0; column < 3; ++column) {
            auto *button = new LumoButton(&window);
            button->InitProperties();
            button->setCaption(captions[row]);
            button->Move(forms::pixelsToTwipsX(5 + column * 125.0f), forms::pixelsToTwipsY(top),
                         1800, 465);
            buttons << button;
        }
        auto *tool = new QToolButton(&window);
        tool->setAutoRaise(true);
        tool->setText(captions[row]);
        tool->setGeometry(5 + 3 * 125, top, 120, 31);
    }
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    // Left to right in each row: at rest, raised, sunken.
    for (qsizetype i = 0; i < buttons.size(); ++i) {
        if (i % 3 == 1)
            buttons[i]->DrawSelected();
        else if (i % 3 == 2)
            buttons[i]->DrawPressed();
    }
    const auto shown = [&] {
        return std::all_of(buttons.cbegin(), buttons.cend(), [](LumoButton *button) {
            forms::PictureBox *face = faceOf(button);
            const QRect area(face->mapToGlobal(QPoint(0, 0)), face->size());
            return screenArea(area).convertToFormat(QImage::Format_RGB32) ==
                   face->Image().convertToFormat(QImage::Format_RGB32);
        });
    };
    QVERIFY2(QTest::qWaitFor(shown), "a face on the screen is not the face drawn");
    keepScreenshot(window.geometry(), QStringLiteral("lumobutton-captions.png"));
}

QTEST_MAIN(tst_LumoButtonX11)
#include "xtst_lumobutton.moc"
