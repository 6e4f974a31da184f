// A long random storm of events on a LumoButton in a shown window: pointer moves over and off
// the face with and without a mouse button held, presses and releases of any button, keys, focus
// changes, capture-timer ticks, paints and resizes. After every event the button is in one of
// its three states, its timer runs exactly while it watches the pointer, and MouseEnter and
// MouseExit alternate as they should. MIRVALE_STORM_SEED replays another storm.

#include "lumofacetools.h"
#include "runtimeerror.h"
#include "twips.h"

#include <QApplication>
#include <QCursor>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QTest>
#include <QTimer>

using namespace lumofacetools;

namespace {

constexpr int Events = 100000;
constexpr quint32 DefaultSeed = 20240611;

QStringList reportedErrors;

void recordError(const forms::RuntimeError &error)
{
    reportedErrors << QString::fromUtf8(error.what());
}

enum class State { Idle, Over, Watching, Invalid };

const char *stateName(State state)
{
    switch (state) {
    case State::Idle:
        return "Idle";
    case State::Over:
        return "Over";
    case State::Watching:
        return "Watching";
    default:
        return "PointerInside without the timer";
    }
}

class Storm
{
public:
    explicit Storm(quint32 seed) : m_random(seed), m_seed(seed)
    {
        window.setGeometry(100, 100, 400, 300);
        field = new QLineEdit(&window);
        field->setGeometry(10, 240, 100, 24);
        button = new LumoButton(&window);
        button->ReadProperties(baseBag());
        // A tool tip would open a window of its own under a resting pointer.
        button->setToolTipText(QString());
        button->Move(1500, 1500, 1800, 600);
        face = faceOf(button);
        timer = button->findChild<QTimer *>(QStringLiteral("timCapture"));
        // The storm delivers every tick itself, so that a seed replays exactly; the timer still
        // starts and stops as the button says.
        timer->setInterval(3600 * 1000);
        QObject::connect(button, &LumoButton::MouseEnter, [this] {
            ++m_enters;
            m_entered = true;
        });
        QObject::connect(button, &LumoButton::MouseExit, [this] {
            ++m_exits;
            if (!m_entered)
                m_exitWithoutEnter = true;
            m_entered = false;
        });
        QObject::connect(button, &LumoButton::Click, [this] { ++m_clicks; });
    }

    QWidget window;
    QLineEdit *field = nullptr;
    LumoButton *button = nullptr;
    forms::PictureBox *face = nullptr;
    QTimer *timer = nullptr;

    bool show()
    {
        if (!face || !timer)
            return false;
        QCursor::setPos(Away);
        window.show();
        if (!QTest::qWaitForWindowExposed(&window))
            return false;
        window.activateWindow();
        return QTest::qWaitForWindowActive(&window);
    }

    // Runs the storm; empty when every check held, otherwise what failed and where.
    QString run()
    {
        for (m_event = 0; m_event < Events; ++m_event) {
            const QString failure = step();
            if (!failure.isEmpty())
                return report(failure);
        }
        releaseAll();
        return QString();
    }

    int enters() const { return m_enters; }
    int exits() const { return m_exits; }
    int clicks() const { return m_clicks; }

private:
    static constexpr QPoint Away{760, 560};

    State state() const
    {
        const bool inside = button->PointerInside(), capturing = button->isCapturing();
        if (!inside)
            return capturing ? State::Watching : State::Idle;
        return capturing ? State::Over : State::Invalid;
    }

    // The face's screen rectangle with its far edges, as the timer sees it.
    bool onFace(QPoint global) const
    {
        const QPoint local = face->mapFromGlobal(global);
        return local.x() >= 0 && local.y() >= 0 && local.x() <= face->width() &&
               local.y() <= face->height();
    }

    int below(int n) { return int(m_random.bounded(quint32(n))); }

    QPoint target()
    {
        const QRect rect(face->mapToGlobal(QPoint(0, 0)), face->size());
        switch (below(4)) {
        case 0:
        case 1: // over the face, edges included
            return rect.topLeft() + QPoint(below(rect.width() + 1), below(rect.height() + 1));
        case 2: // near it
            return rect.topLeft() +
                   QPoint(below(rect.width() + 61) - 30, below(rect.height() + 61) - 30);
        default: // anywhere in or around the window
            return QPoint(below(700), below(600));
        }
    }

    Qt::MouseButton anyButton()
    {
        const Qt::MouseButton buttons[] = {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton,
                                           Qt::BackButton, Qt::ForwardButton};
        return buttons[below(5)];
    }

    // The widget that would take a press at the pointer: the face when it is under the pointer.
    QWidget *underPointer()
    {
        QWidget *under = QApplication::widgetAt(m_pointer);
        return under == face ? static_cast<QWidget *>(face) : &window;
    }

    void note(const QString &what)
    {
        m_history.append(QStringLiteral("#%1 %2").arg(m_event).arg(what));
        if (m_history.size() > 12)
            m_history.removeFirst();
    }

    QString step()
    {
        const int before = m_exits;
        const State was = state();
        QString failure;
        const int kind = below(100);
        if (kind < 35)
            failure = move();
        else if (kind < 45)
            failure = press();
        else if (kind < 55)
            failure = release();
        else if (kind < 62)
            key();
        else if (kind < 70)
            focus();
        else if (kind < 86)
            failure = tick(was);
        else if (kind < 93)
            paint();
        else
            resize();
        QCoreApplication::processEvents();
        if (!failure.isEmpty())
            return failure;
        return invariants(before);
    }

    QString invariants(int exitsBefore)
    {
        if (!reportedErrors.isEmpty())
            return QStringLiteral("a handler raised: ") + reportedErrors.join(u"; ");
        const State now = state();
        if (now == State::Invalid)
            return QStringLiteral("PointerInside with the timer off");
        if (timer->isActive() != m_entered)
            return QStringLiteral("the timer is %1 after %2")
                .arg(timer->isActive() ? "running" : "off",
                     m_entered ? "MouseEnter" : "MouseExit or none");
        if (m_exitWithoutEnter)
            return QStringLiteral("MouseExit without a MouseEnter since the last one");
        if (m_exits - exitsBefore > 1)
            return QStringLiteral("%1 MouseExit in one event").arg(m_exits - exitsBefore);
        return QString();
    }

    QString move()
    {
        m_pointer = target();
        QCursor::setPos(m_pointer);
        if (!m_grabber) {
            note(QStringLiteral("move to (%1, %2)").arg(m_pointer.x()).arg(m_pointer.y()));
            QCoreApplication::processEvents();
            if (underPointer() == face && state() != State::Over)
                return QStringLiteral("%1 after the pointer came onto the face")
                    .arg(stateName(state()));
            return QString();
        }
        // A held button keeps the moves coming to the widget that took the press.
        const QPoint local = m_grabber->mapFromGlobal(m_pointer);
        note(QStringLiteral("drag to (%1, %2)").arg(m_pointer.x()).arg(m_pointer.y()));
        QCoreApplication::processEvents();
        const int enters = m_enters;
        const bool wasInside = button->PointerInside();
        QTest::mouseMove(m_grabber, local);
        if (m_grabber != face)
            return QString();
        const State expected = onFace(m_pointer) ? State::Over : State::Watching;
        if (state() != expected)
            return QStringLiteral("%1 after a drag, expected %2")
                .arg(stateName(state()), stateName(expected));
        if (m_enters - enters != (wasInside ? 0 : 1))
            return QStringLiteral("%1 MouseEnter for a drag").arg(m_enters - enters);
        return QString();
    }

    QString press()
    {
        const Qt::MouseButton which = anyButton();
        if (m_held & which)
            return release();
        QWidget *receiver = m_grabber ? m_grabber : underPointer();
        note(QStringLiteral("press %1 on %2")
                 .arg(int(which))
                 .arg(receiver == face ? "the face" : "the window"));
        const bool value = button->Value();
        const int enters = m_enters;
        m_held |= which;
        m_grabber = receiver;
        QTest::mousePress(receiver, which, {}, receiver->mapFromGlobal(m_pointer));
        if (receiver != face)
            return QString();
        if (state() != State::Over)
            return QStringLiteral("%1 after a press").arg(stateName(state()));
        if (button->Value() == value)
            return QStringLiteral("a press left Value as it was");
        if (m_enters != enters + 1)
            return QStringLiteral("a press raised %1 MouseEnter").arg(m_enters - enters);
        return QString();
    }

    QString release()
    {
        if (!m_held) {
            note(QStringLiteral("no button to release"));
            return QString();
        }
        Qt::MouseButton which = Qt::LeftButton;
        while (!(m_held & which))
            which = Qt::MouseButton(int(which) << 1);
        QWidget *receiver = m_grabber;
        note(QStringLiteral("release %1 on %2")
                 .arg(int(which))
                 .arg(receiver == face ? "the face" : "the window"));
        m_held &= ~which;
        if (!m_held)
            m_grabber = nullptr;
        const int clicks = m_clicks;
        QTest::mouseRelease(receiver, which, {}, receiver->mapFromGlobal(m_pointer));
        if (receiver != face)
            return QString();
        if (state() != State::Watching)
            return QStringLiteral("%1 after a release").arg(stateName(state()));
        if (m_clicks != clicks + 1)
            return QStringLiteral("a release on the face did not click");
        return QString();
    }

    void releaseAll()
    {
        while (m_held)
            release();
    }

    void key()
    {
        const Qt::Key keys[] = {Qt::Key_Space,   Qt::Key_Return, Qt::Key_Enter, Qt::Key_Tab,
                                Qt::Key_Backtab, Qt::Key_Escape, Qt::Key_A,     Qt::Key_E,
                                Qt::Key_Left,    Qt::Key_F5};
        const Qt::Key which = keys[below(10)];
        QWidget *receiver = QApplication::focusWidget() ? QApplication::focusWidget() : face;
        note(QStringLiteral("key %1 to %2")
                 .arg(int(which), 0, 16)
                 .arg(receiver == face ? "the face" : receiver->metaObject()->className()));
        QTest::keyClick(receiver, which);
    }

    void focus()
    {
        switch (below(3)) {
        case 0:
            note(QStringLiteral("focus to the face"));
            face->setFocus(Qt::OtherFocusReason);
            break;
        case 1:
            note(QStringLiteral("focus to the field"));
            field->setFocus(Qt::OtherFocusReason);
            break;
        default:
            note(QStringLiteral("focus cleared"));
            face->clearFocus();
            break;
        }
    }

    QString tick(State was)
    {
        if (!timer->isActive()) {
            note(QStringLiteral("no tick: the timer is off"));
            return QString();
        }
        const bool away = !onFace(QCursor::pos());
        note(QStringLiteral("tick with the pointer %1").arg(away ? "away" : "over the face"));
        const int exits = m_exits;
        QTimerEvent event(timer->timerId());
        QCoreApplication::sendEvent(timer, &event);
        if (away && (state() != State::Idle || m_exits != exits + 1))
            return QStringLiteral("a tick with the pointer away left %1 and raised %2 MouseExit")
                .arg(stateName(state()))
                .arg(m_exits - exits);
        if (!away && (state() != was || m_exits != exits))
            return QStringLiteral("a tick with the pointer over the face changed %1 to %2")
                .arg(stateName(was), stateName(state()));
        return QString();
    }

    void paint()
    {
        switch (below(3)) {
        case 0:
            note(QStringLiteral("face repainted"));
            face->repaint();
            break;
        case 1:
            note(QStringLiteral("button repainted"));
            button->repaint();
            break;
        default:
            note(QStringLiteral("window updated"));
            window.update();
            break;
        }
    }

    void resize()
    {
        const int width = 1 + below(250), height = 1 + below(120);
        note(QStringLiteral("resize to %1 x %2 pixels").arg(width).arg(height));
        button->Move(1500, 1500, float(width * 15), float(height * 15));
    }

    QString report(const QString &failure) const
    {
        return QStringLiteral("%1\nseed %2 (MIRVALE_STORM_SEED=%2 replays it), event %3, state %4, "
                              "pointer (%5, %6)\nlast events:\n  %7")
            .arg(failure)
            .arg(m_seed)
            .arg(m_event)
            .arg(stateName(state()))
            .arg(QCursor::pos().x())
            .arg(QCursor::pos().y())
            .arg(m_history.join(QStringLiteral("\n  ")));
    }

    QRandomGenerator m_random;
    quint32 m_seed;
    int m_event = 0;
    QPoint m_pointer = Away;
    Qt::MouseButtons m_held;
    QWidget *m_grabber = nullptr;
    bool m_entered = false;
    bool m_exitWithoutEnter = false;
    int m_enters = 0;
    int m_exits = 0;
    int m_clicks = 0;
    QStringList m_history;
};

} // namespace

class tst_LumoButtonStorm : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void randomEvents();

private:
    forms::ErrorReporter m_previousReporter = nullptr;
};

void tst_LumoButtonStorm::initTestCase()
{
    QCOMPARE(forms::TwipsPerPixelX(), 15.0f);
    m_previousReporter = forms::setErrorReporter(recordError);
}

void tst_LumoButtonStorm::cleanupTestCase()
{
    forms::setErrorReporter(m_previousReporter);
}

void tst_LumoButtonStorm::randomEvents()
{
    bool ok = false;
    const quint32 given = qEnvironmentVariable("MIRVALE_STORM_SEED").toUInt(&ok);
    const quint32 seed = ok ? given : DefaultSeed;
    Storm storm(seed);
    QVERIFY(storm.show());
    const QString failure = storm.run();
    QVERIFY2(failure.isEmpty(), qPrintable(failure));
    qInfo("seed %u: %d MouseEnter, %d MouseExit, %d Click", seed, storm.enters(), storm.exits(),
          storm.clicks());
    // The storm reached every part of the interaction.
    QVERIFY2(storm.enters() > 1000 && storm.exits() > 1000 && storm.clicks() > 1000,
             qPrintable(QStringLiteral("%1 MouseEnter, %2 MouseExit, %3 Click")
                            .arg(storm.enters())
                            .arg(storm.exits())
                            .arg(storm.clicks())));
}

QTEST_MAIN(tst_LumoButtonStorm)
#include "tst_lumobutton_storm.moc"
