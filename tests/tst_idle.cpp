// At rest, with the pointer away from the buttons, the calculator runs no timer: nothing in the
// window polls or animates while the user does nothing.
//
// The focused field's text cursor blinks by a timer of the toolkit's own, at a rate the desktop
// sets. These tests run as on a desktop where the cursor does not blink, so that any timer at
// all that reaches the window is the window's own.

#include "application.h"
#include "frmmirvale.h"
#include "lumobutton.h"
#include "picturebox.h"

#include <QApplication>
#include <QScreen>
#include <QStyleHints>
#include <QTest>

namespace {

// Records every timer event that reaches the window or anything in it.
class TimerWatch : public QObject
{
public:
    explicit TimerWatch(QWidget *window) : m_window(window)
    {
        QApplication::instance()->installEventFilter(this);
    }
    ~TimerWatch() override { QApplication::instance()->removeEventFilter(this); }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Timer && inWindow(watched))
            receivers << QStringLiteral("%1 \"%2\"")
                             .arg(QString::fromLatin1(watched->metaObject()->className()),
                                  watched->objectName());
        return false;
    }

    QStringList receivers;

private:
    bool inWindow(const QObject *object) const
    {
        for (; object; object = object->parent()) {
            if (object == m_window)
                return true;
        }
        return false;
    }

    QWidget *m_window;
};

QPoint farFromWindow(const QWidget &window)
{
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QRect frame = window.frameGeometry();
    // Whichever screen corner lies farthest from the window.
    QPoint best = screen.topLeft();
    for (const QPoint corner :
         {screen.topLeft(), screen.topRight(), screen.bottomLeft(), screen.bottomRight()}) {
        if ((corner - frame.center()).manhattanLength() > (best - frame.center()).manhattanLength())
            best = corner;
    }
    return best;
}

} // namespace

class tst_Idle : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void noTimerWithThePointerAway();
    void captureTimerStopsOnceThePointerLeaves();

private:
    bool showWindow();
    LumoButton *button(int index) const
    {
        return m_window->control<LumoButton>(QStringLiteral("cmdAction"), index);
    }

    std::unique_ptr<frmMirvale> m_window;
};

void tst_Idle::initTestCase()
{
    SetUpApplication();
    QGuiApplication::styleHints()->setCursorFlashTime(0);
}

void tst_Idle::init()
{
    m_window = std::make_unique<frmMirvale>();
}

void tst_Idle::cleanup()
{
    m_window.reset();
}

bool tst_Idle::showWindow()
{
    m_window->Show();
    if (!QTest::qWaitForWindowExposed(m_window.get()))
        return false;
    m_window->activateWindow();
    if (!QTest::qWaitForWindowActive(m_window.get()))
        return false;
    QCursor::setPos(farFromWindow(*m_window));
    // Whatever showing started (layout, first paints, focus) is over.
    QTest::qWait(300);
    return true;
}

void tst_Idle::noTimerWithThePointerAway()
{
    QVERIFY(showWindow());
    QVERIFY(button(0) && button(1));
    QVERIFY(!button(0)->isCapturing());
    QVERIFY(!button(1)->isCapturing());

    TimerWatch watch(m_window.get());
    QTest::qWait(1000);
    QVERIFY2(watch.receivers.isEmpty(), qPrintable(watch.receivers.join(u", ")));
}

// The same watch sees the capture timer run while the pointer is over a button, and nothing
// once the pointer has left and the button has noticed.
void tst_Idle::captureTimerStopsOnceThePointerLeaves()
{
    QVERIFY(showWindow());
    auto *face = button(0)->findChild<forms::PictureBox *>(QStringLiteral("picButton"));
    QVERIFY(face);

    TimerWatch hovering(m_window.get());
    QCursor::setPos(face->mapToGlobal(face->rect().center()));
    QTest::mouseMove(face, face->rect().center());
    QTRY_VERIFY(button(0)->isCapturing());
    QTRY_VERIFY(!hovering.receivers.isEmpty());

    QCursor::setPos(farFromWindow(*m_window));
    QTRY_VERIFY(!button(0)->isCapturing());
    QVERIFY(!button(1)->isCapturing());
    QTest::qWait(300);

    TimerWatch away(m_window.get());
    QTest::qWait(1000);
    QVERIFY2(away.receivers.isEmpty(), qPrintable(away.receivers.join(u", ")));
}

QTEST_MAIN(tst_Idle)
#include "tst_idle.moc"
