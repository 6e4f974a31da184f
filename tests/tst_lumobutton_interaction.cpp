// How LumoButton reacts to the pointer, the keyboard, focus, paint, resize and its capture timer,
// driven through real events on its visible face, and which faces and events follow.

#include "lumofacetools.h"
#include "twips.h"

#include <QApplication>
#include <QCursor>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

using namespace lumofacetools;

namespace {

// The window that holds the button; it records the characters that reach it.
class Host : public QWidget
{
public:
    QStringList typed;

protected:
    void keyPressEvent(QKeyEvent *event) override { typed << event->text(); }
};

// Logs the face that reaches the screen at every paint of the visible surface.
class FaceRecorder : public QObject
{
public:
    FaceRecorder(forms::PictureBox *face, QStringList *log) : m_face(face), m_log(log) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_face && event->type() == QEvent::Paint)
            m_log->append(QString::fromLatin1(lookName(lookOf(m_face->Image()))));
        return false;
    }

private:
    forms::PictureBox *m_face;
    QStringList *m_log;
};

// Far from the window: the pointer rests here whenever it is not over the button.
const QPoint Away(760, 560);

struct Harness
{
    Host window;
    QLineEdit *field;
    LumoButton *button;
    forms::PictureBox *face;
    QTimer *timer;
    QStringList log;
    QList<bool> valueAtClick;
    FaceRecorder *recorder;

    explicit Harness(const forms::PropertyBag &bag = baseBag())
    {
        QCursor::setPos(Away);
        window.setGeometry(100, 100, 400, 300);
        field = new QLineEdit(&window);
        field->setGeometry(10, 200, 100, 24);
        button = new LumoButton(&window);
        button->ReadProperties(bag);
        button->Move(1500, 1500, 1800, 600); // 100, 100 pixels; 120 x 40 pixels
        face = faceOf(button);
        timer = button->findChild<QTimer *>(QStringLiteral("timCapture"));
        QObject::connect(button, &LumoButton::MouseEnter, [this] { log << "MouseEnter"; });
        QObject::connect(button, &LumoButton::MouseExit, [this] { log << "MouseExit"; });
        QObject::connect(button, &LumoButton::Click, [this] {
            log << "Click";
            valueAtClick << button->Value();
        });
        recorder = new FaceRecorder(face, &log);
        recorder->setParent(button);
        face->installEventFilter(recorder);
    }

    bool show()
    {
        window.show();
        if (!QTest::qWaitForWindowExposed(&window))
            return false;
        QCoreApplication::processEvents();
        log.clear();
        return true;
    }

    QPoint centre() const { return face->rect().center(); }
    QPoint global(QPoint local) const { return face->mapToGlobal(local); }
    Look drawn() const { return lookOf(face->Image()); }

    // What the window's backing store holds where the face is.
    Look onScreen() const
    {
        const QPoint at = face->mapTo(&window, QPoint(0, 0));
        const QImage shot =
            QGuiApplication::primaryScreen()
                ->grabWindow(window.winId(), at.x(), at.y(), face->width(), face->height())
                .toImage();
        return lookOf(shot);
    }

    bool idle() const { return !button->PointerInside() && !button->isCapturing(); }
    bool over() const { return button->PointerInside() && button->isCapturing(); }
    bool watching() const { return !button->PointerInside() && button->isCapturing(); }
};

// With no mouse button held the pointer itself moves; the platform reports the move.
void hover(Harness &h, QPoint local)
{
    QTest::mouseMove(h.face, local);
}

// With a mouse button held the face receives the moves wherever the pointer goes. The test's
// press went straight to the face, so the pointer is not grabbed; the move is sent as the grab
// would send it, and the pointer itself stays where it was.
void drag(Harness &h, QPoint local)
{
    QTest::mouseMove(h.face, local);
}

void pointerTo(QPoint global)
{
    QCursor::setPos(global);
    QCoreApplication::processEvents();
}

} // namespace

class tst_LumoButtonInteraction : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void plainClick();
    void dragOutAndReleaseOutside();
    void dragOutAndBackIn();
    void otherButtons_data();
    void otherButtons();
    void scaleEdges_data();
    void scaleEdges();
    void windowRectEdges_data();
    void windowRectEdges();
    void losingFocus_data();
    void losingFocus();
    void gainingFocusChangesNothing_data();
    void gainingFocusChangesNothing();
    void switchFlipsOncePerClick_data();
    void switchFlipsOncePerClick();
    void quickSecondClick();
    void valueFromCodeWaitsForNextDraw();
    void keyPressHandlerChangesCode_data();
    void keyPressHandlerChangesCode();
    void keysDoNotClick_data();
    void keysDoNotClick();
    void paintAndResizeDrawUnselected_data();
    void paintAndResizeDrawUnselected();
    void drawnFaceStaysOnScreen();
    void publicDrawingsChangeNoState();
};

void tst_LumoButtonInteraction::initTestCase()
{
    QCOMPARE(forms::TwipsPerPixelX(), 15.0f);
    QCOMPARE(forms::TwipsPerPixelY(), 15.0f);
    // Most desktop themes colour an inactive window differently, so that widgets are asked to
    // repaint whenever the window is activated or deactivated.
    QPalette palette = QApplication::palette();
    palette.setColor(QPalette::Inactive, QPalette::Highlight, QColor(0x80, 0x80, 0x80));
    palette.setColor(QPalette::Inactive, QPalette::WindowText, QColor(0x60, 0x60, 0x60));
    QApplication::setPalette(palette);
    QVERIFY(!QApplication::palette().isEqual(QPalette::Active, QPalette::Inactive));
}

void tst_LumoButtonInteraction::cleanup()
{
    QCursor::setPos(Away);
    QCoreApplication::processEvents();
}

// Arrival, press, release, the next move and the departure, as the user does it with the
// pointer resting on the face.
void tst_LumoButtonInteraction::plainClick()
{
    Harness h;
    QVERIFY(h.show());
    QVERIFY(h.idle());
    QStringList expected;

    hover(h, h.centre());
    expected << "MouseEnter"
             << "selected";
    QCOMPARE(h.log, expected);
    QVERIFY(h.over());

    QTest::mousePress(h.face, Qt::LeftButton, {}, h.centre());
    expected << "pressed"
             << "MouseEnter";
    QCOMPARE(h.log, expected);
    QVERIFY(h.over());
    QCOMPARE(h.button->Value(), true);

    QTest::mouseRelease(h.face, Qt::LeftButton, {}, h.centre());
    expected << "MouseEnter"
             << "Click";
    QCOMPARE(h.log, expected);
    QVERIFY(h.watching());
    QCOMPARE(h.valueAtClick, QList<bool>{true});
    // No face is drawn on release: the pressed one stays while the pointer rests.
    QCoreApplication::processEvents();
    QCOMPARE(h.onScreen(), Look::Pressed);

    hover(h, h.centre() + QPoint(1, 1));
    expected << "MouseEnter"
             << "selected";
    QCOMPARE(h.log, expected);
    QVERIFY(h.over());

    QElapsedTimer clock;
    pointerTo(Away);
    clock.start();
    QSignalSpy exit(h.button, &LumoButton::MouseExit);
    QVERIFY(exit.wait(2000));
    // The timer polls every 100 ms; the slack allows for a busy machine.
    QVERIFY2(clock.elapsed() < 600, qPrintable(QString::number(clock.elapsed())));
    expected << "unselected"
             << "MouseExit";
    QCOMPARE(h.log, expected);
    QVERIFY(h.idle());
    QCOMPARE(h.onScreen(), Look::Unselected);
}

// Press, drag out, stay out for a tick, release outside, and the tick after: every step in the
// order the button takes it.
void tst_LumoButtonInteraction::dragOutAndReleaseOutside()
{
    Harness h;
    QVERIFY(h.show());
    hover(h, h.centre());
    h.log.clear();
    const QPoint outside(h.face->width() + 30, h.face->height() / 2);
    QStringList expected;

    QTest::mousePress(h.face, Qt::LeftButton, {}, h.centre());
    expected << "pressed"
             << "MouseEnter";
    QCOMPARE(h.log, expected);

    // While the pointer is still over the face, ticks find it inside and change nothing.
    drag(h, outside);
    expected << "unselected";
    QCOMPARE(h.log, expected);
    QVERIFY(h.watching());

    drag(h, outside + QPoint(5, 0));
    expected << "MouseEnter"
             << "selected"
             << "unselected";
    QCOMPARE(h.log, expected);
    QVERIFY(h.watching());

    // The pointer is really outside now: the next tick ends the capture.
    QSignalSpy exit(h.button, &LumoButton::MouseExit);
    pointerTo(h.global(outside + QPoint(5, 0)));
    QVERIFY(exit.wait(2000));
    expected << "unselected"
             << "MouseExit";
    QCOMPARE(h.log, expected);
    QVERIFY(h.idle());

    // Another move outside, then the release right after it, before any tick can come.
    drag(h, outside + QPoint(10, 0));
    QTest::mouseRelease(h.face, Qt::LeftButton, {}, outside + QPoint(10, 0));
    expected << "MouseEnter"
             << "selected"
             << "unselected"
             << "MouseEnter"
             << "Click";
    QCOMPARE(h.log, expected);
    QVERIFY(h.watching());
    QCOMPARE(h.valueAtClick, QList<bool>{true});

    QVERIFY(exit.wait(2000));
    expected << "unselected"
             << "MouseExit";
    QCOMPARE(h.log, expected);
    QVERIFY(h.idle());
    QCOMPARE(exit.count(), 2);
}

void tst_LumoButtonInteraction::dragOutAndBackIn()
{
    Harness h;
    QVERIFY(h.show());
    hover(h, h.centre());
    h.log.clear();

    QTest::mousePress(h.face, Qt::LeftButton, {}, h.centre());
    drag(h, QPoint(-20, h.centre().y()));
    drag(h, h.centre());
    // Back over the face while held: the raised face, not the sunken one, and no MouseExit.
    QCOMPARE(h.log, (QStringList{"pressed", "MouseEnter", "unselected", "MouseEnter", "selected"}));
    QVERIFY(h.over());
    QTest::mouseRelease(h.face, Qt::LeftButton, {}, h.centre());
    QCOMPARE(h.log.mid(5), (QStringList{"MouseEnter", "Click"}));
}

void tst_LumoButtonInteraction::otherButtons_data()
{
    QTest::addColumn<Qt::MouseButton>("mouseButton");
    QTest::newRow("left") << Qt::LeftButton;
    QTest::newRow("right") << Qt::RightButton;
    QTest::newRow("middle") << Qt::MiddleButton;
}

void tst_LumoButtonInteraction::otherButtons()
{
    QFETCH(Qt::MouseButton, mouseButton);
    Harness h;
    QVERIFY(h.show());
    hover(h, h.centre());
    h.log.clear();

    QTest::mousePress(h.face, mouseButton, {}, h.centre());
    QCOMPARE(h.drawn(), Look::Pressed);
    QCOMPARE(h.button->Value(), true);
    QTest::mouseRelease(h.face, mouseButton, {}, h.centre());
    QCOMPARE(h.log, (QStringList{"pressed", "MouseEnter", "MouseEnter", "Click"}));
    QCOMPARE(h.valueAtClick, QList<bool>{true});
}

// A corner of the face ("top left", "top right", "bottom right", "bottom left") as a position on
// it: the right and bottom corners lie on the far edges, one pixel past the last row and column.
static QPoint cornerOf(const QRect &rect, const QString &corner)
{
    const int x = corner.endsWith(QLatin1String("left")) ? rect.left() : rect.left() + rect.width();
    const int y = corner.startsWith(QLatin1String("top")) ? rect.top() : rect.top() + rect.height();
    return QPoint(x, y);
}

static void edgeRows()
{
    QTest::addColumn<QString>("corner");
    QTest::addColumn<QPoint>("offset");
    QTest::addColumn<bool>("inside");
    QTest::newRow("on the bottom-right corner") << "bottom right" << QPoint(0, 0) << true;
    QTest::newRow("on the right edge") << "top right" << QPoint(0, 10) << true;
    QTest::newRow("on the bottom edge") << "bottom left" << QPoint(10, 0) << true;
    QTest::newRow("on the top-left corner") << "top left" << QPoint(0, 0) << true;
    QTest::newRow("one past the right edge") << "bottom right" << QPoint(1, -10) << false;
    QTest::newRow("one past the bottom edge") << "bottom right" << QPoint(-10, 1) << false;
    QTest::newRow("one left of the face") << "top left" << QPoint(-1, 10) << false;
    QTest::newRow("one above the face") << "top left" << QPoint(10, -1) << false;
}

void tst_LumoButtonInteraction::scaleEdges_data()
{
    edgeRows();
}

// A move reports its position in twips; the right and bottom edges (X = ScaleWidth,
// Y = ScaleHeight) count as inside. After the pointer has been taken outside with the button
// held, a move to the position decides between an arrival and an arrival followed at once by a
// departure.
void tst_LumoButtonInteraction::scaleEdges()
{
    QFETCH(QString, corner);
    QFETCH(QPoint, offset);
    QFETCH(bool, inside);
    Harness h;
    QVERIFY(h.show());
    const QPoint position = cornerOf(h.face->rect(), corner) + offset;
    hover(h, h.centre());
    QTest::mousePress(h.face, Qt::LeftButton, {}, h.centre());
    drag(h, QPoint(h.face->width() + 20, h.face->height() + 20));
    QVERIFY(!h.button->PointerInside());
    h.log.clear();

    drag(h, position);
    if (inside) {
        QCOMPARE(h.log, (QStringList{"MouseEnter", "selected"}));
        QVERIFY(h.button->PointerInside());
    } else {
        QCOMPARE(h.log, (QStringList{"MouseEnter", "selected", "unselected"}));
        QVERIFY(!h.button->PointerInside());
    }
    QTest::mouseRelease(h.face, Qt::LeftButton, {}, position);
}

void tst_LumoButtonInteraction::windowRectEdges_data()
{
    edgeRows();
}

// The capture timer compares the pointer with the face's screen rectangle, whose right is left
// + width and bottom top + height; all four bounds count as inside.
void tst_LumoButtonInteraction::windowRectEdges()
{
    QFETCH(QString, corner);
    QFETCH(QPoint, offset);
    QFETCH(bool, inside);
    Harness h;
    QVERIFY(h.show());
    const QRect screenRect(h.global(QPoint(0, 0)), h.face->size());
    hover(h, h.centre());
    QVERIFY(h.over());
    h.log.clear();

    QSignalSpy ticks(h.timer, &QTimer::timeout);
    pointerTo(cornerOf(screenRect, corner) + offset);
    QTRY_VERIFY_WITH_TIMEOUT(ticks.count() >= 2 || !h.timer->isActive(), 3000);
    if (inside) {
        QCOMPARE(h.log, QStringList());
        QVERIFY(h.over());
    } else {
        QCOMPARE(h.log, (QStringList{"unselected", "MouseExit"}));
        QVERIFY(h.idle());
    }
}

void tst_LumoButtonInteraction::losingFocus_data()
{
    QTest::addColumn<bool>("pointerOver");
    QTest::addColumn<QString>("how");
    QTest::addColumn<Look>("after");
    // With the pointer away the face goes flat; with it over the face nothing changes.
    QTest::newRow("away, another field") << false << "field" << Look::Unselected;
    QTest::newRow("away, Tab") << false << "tab" << Look::Unselected;
    QTest::newRow("away, window deactivated") << false << "window" << Look::Unselected;
    QTest::newRow("over, another field") << true << "field" << Look::Selected;
    QTest::newRow("over, Tab") << true << "tab" << Look::Selected;
    QTest::newRow("over, window deactivated") << true << "window" << Look::Selected;
}

void tst_LumoButtonInteraction::losingFocus()
{
    QFETCH(bool, pointerOver);
    QFETCH(QString, how);
    QFETCH(Look, after);
    Harness h;
    QVERIFY(h.show());
    h.window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&h.window));
    h.face->setFocus();
    QTRY_VERIFY(h.face->hasFocus());
    if (pointerOver) {
        hover(h, h.centre());
        QCOMPARE(h.drawn(), Look::Selected);
    } else {
        // A host may draw any face; the pressed one tells apart "unchanged" from "flat".
        h.button->DrawPressed();
    }
    h.log.clear();

    QWidget other;
    if (how == "field") {
        h.field->setFocus();
    } else if (how == "tab") {
        QTest::keyClick(h.face, Qt::Key_Tab);
    } else {
        other.setGeometry(600, 450, 100, 100);
        other.show();
        QVERIFY(QTest::qWaitForWindowExposed(&other));
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
    }
    QTRY_VERIFY(!h.face->hasFocus());
    QCoreApplication::processEvents();
    QCOMPARE(h.drawn(), after);
    QCOMPARE(h.onScreen(), after);
    QCOMPARE(h.button->PointerInside(), pointerOver);
    QVERIFY(!h.log.contains("MouseEnter") && !h.log.contains("MouseExit"));
}

void tst_LumoButtonInteraction::gainingFocusChangesNothing_data()
{
    QTest::addColumn<bool>("byActivation");
    QTest::newRow("from another field") << false;
    QTest::newRow("window activated") << true;
}

void tst_LumoButtonInteraction::gainingFocusChangesNothing()
{
    QFETCH(bool, byActivation);
    Harness h;
    QVERIFY(h.show());
    h.window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&h.window));
    QWidget other;
    if (byActivation) {
        h.face->setFocus();
        QTRY_VERIFY(h.face->hasFocus());
        other.setGeometry(600, 450, 100, 100);
        other.show();
        QVERIFY(QTest::qWaitForWindowExposed(&other));
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
    } else {
        h.field->setFocus();
        QTRY_VERIFY(h.field->hasFocus());
    }
    QVERIFY(!h.face->hasFocus());
    h.button->DrawPressed();
    QCoreApplication::processEvents();
    h.log.clear();

    if (byActivation) {
        h.window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&h.window));
    } else {
        h.face->setFocus();
    }
    QTRY_VERIFY(h.face->hasFocus());
    QCoreApplication::processEvents();
    QCOMPARE(h.drawn(), Look::Pressed);
    QCOMPARE(h.onScreen(), Look::Pressed);
    QCOMPARE(h.log, QStringList());
}

void tst_LumoButtonInteraction::switchFlipsOncePerClick_data()
{
    QTest::addColumn<bool>("switchMode");
    QTest::addColumn<int>("clicks");
    QTest::newRow("switch, one click") << true << 1;
    QTest::newRow("switch, two clicks") << true << 2;
    QTest::newRow("switch, three clicks") << true << 3;
    QTest::newRow("push button, three clicks") << false << 3;
}

// Value flips at mouse-down, before the pressed face is drawn: a switch's pressed face and its
// Click handler already see the new state. A push button flips Value too, but shows Picture.
void tst_LumoButtonInteraction::switchFlipsOncePerClick()
{
    QFETCH(bool, switchMode);
    QFETCH(int, clicks);
    forms::PropertyBag bag = baseBag();
    bag.WriteProperty(QStringLiteral("Picture"), QVariant::fromValue(solidPicture(PictureRgb)));
    bag.WriteProperty(QStringLiteral("SelectedPicture"),
                      QVariant::fromValue(solidPicture(SelectedRgb)));
    bag.WriteProperty(QStringLiteral("Switch"), QVariant::fromValue<qint16>(switchMode ? -1 : 0));
    Harness h(bag);
    QVERIFY(h.show());
    hover(h, h.centre());

    QList<bool> expected;
    for (int click = 1; click <= clicks; ++click) {
        const bool on = click % 2 == 1;
        QTest::mousePress(h.face, Qt::LeftButton, {}, h.centre());
        QCOMPARE(h.button->Value(), on);
        const QImage pressed = h.face->Image();
        QCOMPARE(lookOf(pressed), Look::Pressed);
        const QRgb shown = switchMode && on ? SelectedRgb : PictureRgb;
        QVERIFY(!boundsOf(pressed, shown).isNull());
        QTest::mouseRelease(h.face, Qt::LeftButton, {}, h.centre());
        expected << on;
    }
    QCOMPARE(h.valueAtClick, expected);
    QCOMPARE(h.button->Value(), clicks % 2 == 1);
}

// A second click that comes quickly enough to make a double click is a click like the first:
// its press flips Value and shows the sunken face, and its release clicks.
void tst_LumoButtonInteraction::quickSecondClick()
{
    forms::PropertyBag bag = baseBag();
    bag.WriteProperty(QStringLiteral("Switch"), QVariant::fromValue<qint16>(-1));
    Harness h(bag);
    QVERIFY(h.show());
    hover(h, h.centre());
    h.log.clear();
    QTest::mousePress(h.face, Qt::LeftButton, {}, h.centre());
    QTest::mouseRelease(h.face, Qt::LeftButton, {}, h.centre());
    h.button->DrawUnselected();
    h.log.clear();
    QTest::mouseDClick(h.face, Qt::LeftButton, {}, h.centre());
    QCOMPARE(h.drawn(), Look::Pressed);
    QTest::mouseRelease(h.face, Qt::LeftButton, {}, h.centre());
    QCOMPARE(h.log, (QStringList{"pressed", "MouseEnter", "MouseEnter", "Click"}));
    QCOMPARE(h.valueAtClick, (QList<bool>{true, false}));
    QCOMPARE(h.button->Value(), false);
}

void tst_LumoButtonInteraction::valueFromCodeWaitsForNextDraw()
{
    forms::PropertyBag bag = baseBag();
    bag.WriteProperty(QStringLiteral("Picture"), QVariant::fromValue(solidPicture(PictureRgb)));
    bag.WriteProperty(QStringLiteral("SelectedPicture"),
                      QVariant::fromValue(solidPicture(SelectedRgb)));
    bag.WriteProperty(QStringLiteral("Switch"), QVariant::fromValue<qint16>(-1));
    Harness h(bag);
    QVERIFY(h.show());
    QVERIFY(!boundsOf(h.face->Image(), PictureRgb).isNull());

    h.button->setValue(true);
    QCoreApplication::processEvents();
    QVERIFY(!boundsOf(h.face->Image(), PictureRgb).isNull());
    h.button->DrawUnselected();
    QVERIFY(!boundsOf(h.face->Image(), SelectedRgb).isNull());
    QVERIFY(boundsOf(h.face->Image(), PictureRgb).isNull());
}

void tst_LumoButtonInteraction::keyPressHandlerChangesCode_data()
{
    QTest::addColumn<int>("replacement"); // -1: the handler leaves the code alone
    QTest::addColumn<QStringList>("reachesWindow");
    QTest::newRow("unchanged") << -1 << QStringList{"a"};
    QTest::newRow("swallowed") << 0 << QStringList();
    QTest::newRow("changed") << int('b') << QStringList{"b"};
}

void tst_LumoButtonInteraction::keyPressHandlerChangesCode()
{
    QFETCH(int, replacement);
    QFETCH(QStringList, reachesWindow);
    Harness h;
    QVERIFY(h.show());
    QList<int> raised;
    QObject::connect(h.button, &LumoButton::KeyPress, [&](qint16 &KeyAscii) {
        raised << KeyAscii;
        if (replacement >= 0)
            KeyAscii = qint16(replacement);
    });
    QTest::keyClick(h.face, Qt::Key_A);
    QCOMPARE(raised, QList<int>{'a'});
    QCOMPARE(h.window.typed, reachesWindow);
}

void tst_LumoButtonInteraction::keysDoNotClick_data()
{
    QTest::addColumn<Qt::Key>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<int>("keyAscii"); // -1: not checked
    QTest::newRow("space") << Qt::Key_Space << Qt::KeyboardModifiers() << 32;
    QTest::newRow("return") << Qt::Key_Return << Qt::KeyboardModifiers() << 13;
    QTest::newRow("keypad enter") << Qt::Key_Enter << Qt::KeyboardModifiers(Qt::KeypadModifier)
                                  << 13;
    QTest::newRow("access character") << Qt::Key_E << Qt::KeyboardModifiers() << int('e');
    QTest::newRow("alt + access character")
        << Qt::Key_E << Qt::KeyboardModifiers(Qt::AltModifier) << -1;
}

// The caption "&Exit" underlines the E on the face, but the button registers no access key, and
// no key presses it: keys only raise KeyPress.
void tst_LumoButtonInteraction::keysDoNotClick()
{
    QFETCH(Qt::Key, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(int, keyAscii);
    forms::PropertyBag bag = baseBag();
    bag.WriteProperty(QStringLiteral("Caption"), QStringLiteral("&Exit"));
    Harness h(bag);
    QVERIFY(h.show());
    h.window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&h.window));
    h.face->setFocus();
    QTRY_VERIFY(h.face->hasFocus());
    h.log.clear();
    QList<int> raised;
    QObject::connect(h.button, &LumoButton::KeyPress, [&](qint16 &code) { raised << code; });

    QTest::keyClick(h.face, key, modifiers);
    QCoreApplication::processEvents();
    QCOMPARE(h.log, QStringList());
    QCOMPARE(h.button->Value(), false);
    QCOMPARE(h.drawn(), Look::Unselected);
    if (keyAscii >= 0)
        QCOMPARE(raised, QList<int>{keyAscii});
}

void tst_LumoButtonInteraction::paintAndResizeDrawUnselected_data()
{
    QTest::addColumn<bool>("held");
    QTest::addColumn<QString>("what");
    for (bool held : {false, true}) {
        const char *state = held ? "button held" : "pointer over";
        QTest::addRow("%s, control shown again", state) << held << "shown";
        QTest::addRow("%s, face exposed", state) << held << "face";
        QTest::addRow("%s, control resized", state) << held << "resize";
    }
}

void tst_LumoButtonInteraction::paintAndResizeDrawUnselected()
{
    QFETCH(bool, held);
    QFETCH(QString, what);
    Harness h;
    QVERIFY(h.show());
    hover(h, h.centre());
    if (held)
        QTest::mousePress(h.face, Qt::LeftButton, {}, h.centre());
    QCOMPARE(h.drawn(), held ? Look::Pressed : Look::Selected);
    const bool value = h.button->Value();
    h.log.clear();

    if (what == "shown") {
        h.button->hide();
        h.button->show();
    } else if (what == "face")
        h.face->update();
    else
        h.button->Move(h.button->Left(), h.button->Top(), 2400, 900);
    QCoreApplication::processEvents();

    QCOMPARE(h.drawn(), Look::Unselected);
    QCOMPARE(h.onScreen(), Look::Unselected);
    QCOMPARE(h.face->geometry(), h.button->rect());
    QVERIFY(h.over());
    QCOMPARE(h.button->Value(), value);
    QVERIFY(!h.log.contains("MouseEnter") && !h.log.contains("MouseExit"));
    if (held)
        QTest::mouseRelease(h.face, Qt::LeftButton, {}, h.centre());
}

// The face on screen is the one last drawn: nothing else paints over it while events are
// processed (the container's paint would draw the flat face).
void tst_LumoButtonInteraction::drawnFaceStaysOnScreen()
{
    Harness h;
    QVERIFY(h.show());
    hover(h, h.centre());
    QTest::qWait(30);
    QCOMPARE(h.onScreen(), Look::Selected);
    QTest::mousePress(h.face, Qt::LeftButton, {}, h.centre());
    QTest::qWait(30);
    QCOMPARE(h.onScreen(), Look::Pressed);
    QTest::mouseRelease(h.face, Qt::LeftButton, {}, h.centre());
    QTest::qWait(30);
    QCOMPARE(h.onScreen(), Look::Pressed);
    hover(h, h.centre() + QPoint(2, 0));
    QTest::qWait(30);
    QCOMPARE(h.onScreen(), Look::Selected);
    QCOMPARE(h.log, (QStringList{"MouseEnter", "selected", "pressed", "MouseEnter", "MouseEnter",
                                 "Click", "MouseEnter", "selected"}));
}

void tst_LumoButtonInteraction::publicDrawingsChangeNoState()
{
    Harness h;
    QVERIFY(h.show());
    hover(h, h.centre());
    h.log.clear();
    h.button->DrawPressed();
    QCOMPARE(h.onScreen(), Look::Pressed);
    h.button->DrawUnselected();
    QCOMPARE(h.onScreen(), Look::Unselected);
    h.button->DrawSelected();
    QCOMPARE(h.onScreen(), Look::Selected);
    QCOMPARE(h.log, (QStringList{"pressed", "unselected", "selected"}));
    QVERIFY(h.over());
    QCOMPARE(h.button->Value(), false);
}

QTEST_MAIN(tst_LumoButtonInteraction)
#include "tst_lumobutton_interaction.moc"
