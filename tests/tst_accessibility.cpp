// How LumoButton and Border present themselves to assistive technology. The tests only create
// controls: the interfaces must come from the control libraries themselves.

#include "border.h"
#include "lumofacetools.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QCursor>
#include <QLineEdit>
#include <QTest>

using namespace lumofacetools;

namespace {

const QPoint Away(760, 560);

struct Window
{
    QWidget window;
    LumoButton *button;
    forms::PictureBox *face;
    QStringList log;
    QList<bool> valueAtClick;
    QList<Look> faceAtClick;

    explicit Window(forms::PropertyBag bag = baseBag())
    {
        window.setGeometry(100, 100, 400, 300);
        button = new LumoButton(&window);
        button->ReadProperties(bag);
        button->Move(1500, 1500, 1800, 600);
        face = faceOf(button);
        QObject::connect(button, &LumoButton::MouseEnter, [this] { log << "MouseEnter"; });
        QObject::connect(button, &LumoButton::MouseExit, [this] { log << "MouseExit"; });
        QObject::connect(button, &LumoButton::Click, [this] {
            log << "Click";
            valueAtClick << button->Value();
            faceAtClick << lookOf(face->Image());
        });
    }

    bool show()
    {
        QCursor::setPos(Away);
        window.show();
        return QTest::qWaitForWindowExposed(&window);
    }
};

forms::PropertyBag captioned(const QString &caption)
{
    forms::PropertyBag bag = baseBag();
    bag.WriteProperty(QStringLiteral("Caption"), caption);
    return bag;
}

} // namespace

class tst_Accessibility : public QObject
{
    Q_OBJECT

private slots:
    void buttonIsAPushButtonNamedByItsCaption_data();
    void buttonIsAPushButtonNamedByItsCaption();
    void nameFollowsTheCaption();
    void hostNameAndDescription();
    void faceAnswersAsTheButton();
    void actions_data();
    void actions();
    void pressActsLikeAClick_data();
    void pressActsLikeAClick();
    void pressWithThePointerOver();
    void switchStateIsChecked();
    void borderIsASeparator();
};

void tst_Accessibility::buttonIsAPushButtonNamedByItsCaption_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("name");
    QTest::newRow("plain") << "Calculate (F5)"
                           << "Calculate (F5)";
    QTest::newRow("access marker") << "&Exit"
                                   << "Exit";
    QTest::newRow("marker inside") << "E&xit"
                                   << "Exit";
    // The face has no escape for a literal "&": two in a row print nothing.
    QTest::newRow("doubled marker") << "a&&b"
                                    << "ab";
    QTest::newRow("trailing marker") << "End&"
                                     << "End";
    QTest::newRow("markers only") << "&&&"
                                  << "";
    QTest::newRow("empty") << ""
                           << "";
}

void tst_Accessibility::buttonIsAPushButtonNamedByItsCaption()
{
    QFETCH(QString, caption);
    QFETCH(QString, name);
    Window w(captioned(caption));
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(w.button);
    QVERIFY(iface);
    QCOMPARE(iface->role(), QAccessible::Button);
    QCOMPARE(iface->text(QAccessible::Name), name);
    // The "&" only underlines: no access key is announced, since none works.
    QCOMPARE(iface->text(QAccessible::Accelerator), QString());
    // Its internal surfaces are not shown as parts of it.
    QCOMPARE(iface->childCount(), 0);
    QCOMPARE(iface->object(), w.button);
}

void tst_Accessibility::nameFollowsTheCaption()
{
    Window w(captioned(QStringLiteral("&Calculate")));
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(w.button);
    QCOMPARE(iface->text(QAccessible::Name), QStringLiteral("Calculate"));
    w.button->setCaption(QStringLiteral("E&xit"));
    QCOMPARE(iface->text(QAccessible::Name), QStringLiteral("Exit"));
}

void tst_Accessibility::hostNameAndDescription()
{
    forms::PropertyBag bag = captioned(QStringLiteral("&Exit"));
    bag.WriteProperty(QStringLiteral("ToolTipText"), QStringLiteral("Exit Program"));
    Window w(bag);
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(w.button);
    QCOMPARE(iface->text(QAccessible::Description), QStringLiteral("Exit Program"));
    w.button->setAccessibleName(QStringLiteral("Quit"));
    w.button->setAccessibleDescription(QStringLiteral("Ends the program"));
    QCOMPARE(iface->text(QAccessible::Name), QStringLiteral("Quit"));
    QCOMPARE(iface->text(QAccessible::Description), QStringLiteral("Ends the program"));
}

// The keyboard focus sits on the visible face; announced there, it is the same button.
void tst_Accessibility::faceAnswersAsTheButton()
{
    Window w(captioned(QStringLiteral("&Exit")));
    auto *field = new QLineEdit(&w.window);
    QVERIFY(w.show());
    w.window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w.window));
    field->setFocus();
    QTRY_VERIFY(field->hasFocus());
    QAccessibleInterface *button = QAccessible::queryAccessibleInterface(w.button);
    QAccessibleInterface *face = QAccessible::queryAccessibleInterface(w.face);
    QVERIFY(face && face != button);
    QCOMPARE(face->role(), QAccessible::Button);
    QCOMPARE(face->text(QAccessible::Name), QStringLiteral("Exit"));
    QCOMPARE(face->parent(), button);
    QVERIFY(face->actionInterface());
    QCOMPARE(face->actionInterface()->actionNames().value(0),
             QAccessibleActionInterface::pressAction());

    QVERIFY(button->state().focusable);
    QVERIFY(!button->state().focused);
    w.button->setFocus();
    QTRY_VERIFY(w.face->hasFocus());
    QVERIFY(button->state().focused);
    QVERIFY(face->state().focused);
    QCOMPARE(button->focusChild(), button);

    // The window lists the button once, as a push button.
    QAccessibleInterface *window = QAccessible::queryAccessibleInterface(&w.window);
    int buttons = 0;
    for (int i = 0; i < window->childCount(); ++i) {
        if (window->child(i)->role() == QAccessible::Button)
            ++buttons;
    }
    QCOMPARE(buttons, 1);
    QVERIFY(window->indexOfChild(button) >= 0);
}

void tst_Accessibility::actions_data()
{
    QTest::addColumn<bool>("switchMode");
    QTest::addColumn<QStringList>("names");
    const QString press = QAccessibleActionInterface::pressAction();
    const QString toggle = QAccessibleActionInterface::toggleAction();
    const QString focus = QAccessibleActionInterface::setFocusAction();
    QTest::newRow("push button") << false << QStringList{press, focus};
    QTest::newRow("switch") << true << QStringList{press, toggle, focus};
}

void tst_Accessibility::actions()
{
    QFETCH(bool, switchMode);
    QFETCH(QStringList, names);
    forms::PropertyBag bag = baseBag();
    bag.WriteProperty(QStringLiteral("Switch"), QVariant::fromValue<qint16>(switchMode ? -1 : 0));
    Window w(bag);
    QAccessibleActionInterface *actions =
        QAccessible::queryAccessibleInterface(w.button)->actionInterface();
    QVERIFY(actions);
    QCOMPARE(actions->actionNames(), names);
    for (const QString &name : names)
        QCOMPARE(actions->keyBindingsForAction(name), QStringList());
}

void tst_Accessibility::pressActsLikeAClick_data()
{
    QTest::addColumn<bool>("switchMode");
    QTest::addColumn<bool>("valueBefore");
    QTest::addColumn<QString>("action");
    const QString press = QAccessibleActionInterface::pressAction();
    QTest::newRow("push button") << false << false << press;
    QTest::newRow("push button, value on") << false << true << press;
    QTest::newRow("switch off") << true << false << press;
    QTest::newRow("switch on") << true << true << press;
    QTest::newRow("switch toggled") << true << false << QAccessibleActionInterface::toggleAction();
}

// Value flips as at a mouse-down, the sunken face shows while Click is raised, and Click sees the
// new Value. The pointer has not moved: no MouseEnter or MouseExit, and the button stays idle
// with its resting face.
void tst_Accessibility::pressActsLikeAClick()
{
    QFETCH(bool, switchMode);
    QFETCH(bool, valueBefore);
    QFETCH(QString, action);
    forms::PropertyBag bag = baseBag();
    bag.WriteProperty(QStringLiteral("Switch"), QVariant::fromValue<qint16>(switchMode ? -1 : 0));
    bag.WriteProperty(QStringLiteral("Value"), QVariant::fromValue<qint16>(valueBefore ? -1 : 0));
    Window w(bag);
    QVERIFY(w.show());
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(w.button);
    iface->actionInterface()->doAction(action);
    QCOMPARE(w.log, QStringList{"Click"});
    QCOMPARE(w.valueAtClick, QList<bool>{!valueBefore});
    QCOMPARE(w.faceAtClick, QList<Look>{Look::Pressed});
    QCOMPARE(w.button->Value(), !valueBefore);
    QVERIFY(!w.button->PointerInside());
    QVERIFY(!w.button->isCapturing());
    QCOMPARE(lookOf(w.face->Image()), Look::Unselected);
    if (switchMode)
        QCOMPARE(bool(iface->state().checked), !valueBefore);
}

void tst_Accessibility::pressWithThePointerOver()
{
    Window w;
    QVERIFY(w.show());
    QTest::mouseMove(w.face, w.face->rect().center());
    QVERIFY(w.button->PointerInside());
    w.log.clear();
    QAccessible::queryAccessibleInterface(w.button)->actionInterface()->doAction(
        QAccessibleActionInterface::pressAction());
    QCOMPARE(w.log, QStringList{"Click"});
    // The pointer is still over the face: the raised face comes back, the capture goes on.
    QCOMPARE(lookOf(w.face->Image()), Look::Selected);
    QVERIFY(w.button->PointerInside());
    QVERIFY(w.button->isCapturing());
    QCursor::setPos(Away);
}

void tst_Accessibility::switchStateIsChecked()
{
    forms::PropertyBag bag = baseBag();
    bag.WriteProperty(QStringLiteral("Switch"), QVariant::fromValue<qint16>(-1));
    Window sw(bag);
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(sw.button);
    QVERIFY(iface->state().checkable);
    QVERIFY(!iface->state().checked);
    sw.button->setValue(true);
    QVERIFY(iface->state().checked);

    // A push button flips Value too, but shows it nowhere: it is not announced as checked.
    Window push;
    push.button->setValue(true);
    QAccessibleInterface *plain = QAccessible::queryAccessibleInterface(push.button);
    QVERIFY(!plain->state().checkable);
    QVERIFY(!plain->state().checked);
}

void tst_Accessibility::borderIsASeparator()
{
    QWidget window;
    auto *border = new Border(&window);
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(border);
    QVERIFY(iface);
    QCOMPARE(iface->role(), QAccessible::Separator);
    QCOMPARE(iface->childCount(), 0);
    QVERIFY(!iface->state().focusable);
    QCOMPARE(iface->text(QAccessible::Name), QString());
    QAccessibleInterface *parent = QAccessible::queryAccessibleInterface(&window);
    QVERIFY(parent->indexOfChild(iface) >= 0);
}

QTEST_MAIN(tst_Accessibility)
#include "tst_accessibility.moc"
