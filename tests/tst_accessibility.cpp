// How LumoButton, Border, the calculator window and the Button page present themselves to
// assistive technology. The tests only create controls and windows: the interfaces and the names
// must come from the libraries themselves.

#include "application.h"
#include "border.h"
#include "buttonpage.h"
#include "fieldnames.h"
#include "frmmirvale.h"
#include "geometry.h"
#include "label.h"
#include "lumofacetools.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QCursor>
#include <QLineEdit>
#include <QTest>

#include <memory>

using namespace lumofacetools;

namespace {

const QPoint Away(760, 560);

// Labels and fields placed so that only the nearest label on a field's line names it, and only
// when there is none the nearest label above it.
std::unique_ptr<QWidget> crowdedWindow()
{
    auto window = std::make_unique<QWidget>();
    const struct
    {
        const char *name;
        const char *text;
        forms::TwipsRect place;
    } labels[] = {
        {"lblFar", "Far", {0, 1000, 1000, 300}},
        {"lblNear", "Near", {1500, 1100, 1000, 300}},
        {"lblAboveA", "Above A", {3000, 600, 1000, 300}},
        {"lblTieOne", "Tie one", {0, 3100, 1000, 300}},
        {"lblTieTwo", "Tie two", {0, 3000, 1000, 300}},
        {"lblOffTheLine", "Off the line", {2000, 3300, 500, 300}},
        {"lblAboveB", "Above B", {3500, 2500, 1000, 300}},
        {"lblAboveFar", "Above far", {6500, 4000, 1000, 300}},
        {"lblAboveNear", "Above near", {5500, 4500, 800, 300}},
        {"lblRightOfC", "Right of C", {7500, 5000, 1000, 300}},
    };
    for (const auto &label : labels) {
        auto *widget = new QLabel(QString::fromLatin1(label.text), window.get());
        widget->setObjectName(QString::fromLatin1(label.name));
        forms::setTwipsGeometry(widget, label.place);
    }
    const std::pair<const char *, forms::TwipsRect> fields[] = {
        {"txtA", {3000, 1000, 1000, 300}},
        {"txtB", {3000, 3000, 1000, 300}},
        {"txtC", {6000, 5000, 1000, 300}},
    };
    for (const auto &[name, place] : fields) {
        auto *widget = new QLineEdit(window.get());
        widget->setObjectName(QString::fromLatin1(name));
        forms::setTwipsGeometry(widget, place);
    }
    forms::nameFieldsByLabels(window->findChildren<QWidget *>(Qt::FindDirectChildrenOnly));
    return window;
}

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

// What a screen reader is told, as the toolkit hands it on: the kind of event, whom it is
// about, and the new text or the changed states.
struct Announcement
{
    QAccessible::Event type;
    QObject *object;
    QString text;
    bool checkedChanged = false;
};

QList<Announcement> announcements;

void recordAnnouncement(QAccessibleEvent *event)
{
    Announcement heard{event->type(), event->object(), {}};
    if (event->type() == QAccessible::TextUpdated)
        heard.text = static_cast<QAccessibleTextUpdateEvent *>(event)->textInserted();
    if (event->type() == QAccessible::TextInserted)
        heard.text = static_cast<QAccessibleTextInsertEvent *>(event)->textInserted();
    if (event->type() == QAccessible::StateChanged)
        heard.checkedChanged =
            static_cast<QAccessibleStateChangeEvent *>(event)->changedStates().checked;
    announcements << heard;
}

// Every control a window presents that takes the keyboard focus, depth first (the entries of a
// drop-down list are parts of the list, not controls).
void focusable(QAccessibleInterface *iface, QList<QAccessibleInterface *> &found)
{
    const QObject *object = iface->object();
    if (iface->state().focusable && !iface->state().invisible && object && object->isWidgetType())
        found << iface;
    for (int i = 0; i < iface->childCount(); ++i) {
        if (QAccessibleInterface *child = iface->child(i))
            focusable(child, found);
    }
}

} // namespace

class tst_Accessibility : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
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
    void fieldsAreNamedByTheirLabels_data();
    void fieldsAreNamedByTheirLabels();
    void everyFocusableControlHasAName_data();
    void everyFocusableControlHasAName();
    void changesAreAnnounced_data();
    void changesAreAnnounced();

private:
    QWidget *window(const QString &which);
    std::unique_ptr<QWidget> m_window;
    bool m_announcing = false;
};

void tst_Accessibility::initTestCase()
{
    SetUpApplication();
    // Nothing is announced unless a screen reader may listen: the platform's bridge must be
    // active (run-with-accessibility.sh gives it a bus to talk to; offscreen has none).
    m_announcing = QGuiApplication::platformName() != u"offscreen" &&
                   QTest::qWaitFor([] { return QAccessible::isActive(); }, 5000);
}

void tst_Accessibility::cleanup()
{
    m_window.reset();
    QAccessible::installUpdateHandler(nullptr);
    announcements.clear();
}

// The calculator built from its stored definition, or a Button page.
QWidget *tst_Accessibility::window(const QString &which)
{
    if (which == u"calculator")
        m_window = std::make_unique<frmMirvale>();
    else if (which == u"crowded")
        m_window = crowdedWindow();
    else
        m_window = std::make_unique<ButtonPage>();
    return m_window.get();
}

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

void tst_Accessibility::fieldsAreNamedByTheirLabels_data()
{
    QTest::addColumn<QString>("where");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("result");
    // Beside each field, its label; the caption's trailing blank is not read.
    QTest::newRow("stock concentration") << "calculator"
                                         << "txtStock"
                                         << "lblStock"
                                         << "Stock Concentration" << false;
    QTest::newRow("final concentration") << "calculator"
                                         << "txtFinal"
                                         << "lblFinal"
                                         << "Final Concentration" << false;
    QTest::newRow("final volume") << "calculator"
                                  << "txtFinalVolume"
                                  << "Label3"
                                  << "Final Volume" << false;
    QTest::newRow("volume of stock solution") << "calculator"
                                              << "txtStockVolume"
                                              << "Label1"
                                              << "Volume of Stock Solution" << true;
    QTest::newRow("volume of diluent") << "calculator"
                                       << "txtDiluentVolume"
                                       << "Label2"
                                       << "Volume of Diluent" << true;
    // Above each field of the page, its label; the colon is not read.
    QTest::newRow("page caption") << "page"
                                  << "txtCaption"
                                  << "lblCaption"
                                  << "Caption" << false;
    QTest::newRow("page delta") << "page"
                                << "txtDelta"
                                << "lblDelta"
                                << "Delta" << false;
    QTest::newRow("page alignment") << "page"
                                    << "txtAlignment"
                                    << "lblAlignment"
                                    << "Alignment" << false;
    QTest::newRow("page tool tip") << "page"
                                   << "txtToolTopText"
                                   << "lblMousePointer"
                                   << "Tool tip text" << false;
    // Among many labels: the nearest on the line wins over a nearer one above, the first of two
    // at the same distance wins, and one above names a field with none on its line.
    QTest::newRow("nearest on the line") << "crowded"
                                         << "txtA"
                                         << "lblNear"
                                         << "Near" << false;
    QTest::newRow("first of two as near") << "crowded"
                                          << "txtB"
                                          << "lblTieOne"
                                          << "Tie one" << false;
    QTest::newRow("nearest above") << "crowded"
                                   << "txtC"
                                   << "lblAboveNear"
                                   << "Above near" << false;
}

void tst_Accessibility::fieldsAreNamedByTheirLabels()
{
    QFETCH(QString, where);
    QFETCH(QString, field);
    QFETCH(QString, label);
    QFETCH(QString, name);
    QFETCH(bool, result);
    QWidget *w = window(where);
    auto *edit = w->findChild<QLineEdit *>(field);
    QVERIFY(edit);
    QList<QLabel *> labels;
    for (QLabel *candidate : w->findChildren<QLabel *>(label)) {
        if (candidate->text().contains(name))
            labels << candidate;
    }
    QCOMPARE(labels.size(), 1);
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(edit);
    QCOMPARE(iface->role(), QAccessible::EditableText);
    QCOMPARE(iface->text(QAccessible::Name), name);
    QVERIFY(labels[0]->text().startsWith(name));
    // A result is read-only text whose value is the text it shows.
    QCOMPARE(bool(iface->state().readOnly), result);
    edit->setText(QStringLiteral("12.5"));
    QCOMPARE(iface->text(QAccessible::Value), QStringLiteral("12.5"));
}

void tst_Accessibility::everyFocusableControlHasAName_data()
{
    QTest::addColumn<QString>("where");
    QTest::addColumn<int>("count");
    // Five fields and two buttons; four fields, the pointer list and two check boxes.
    QTest::newRow("calculator") << "calculator" << 7;
    QTest::newRow("button page") << "page" << 7;
}

void tst_Accessibility::everyFocusableControlHasAName()
{
    QFETCH(QString, where);
    QFETCH(int, count);
    QWidget *w = window(where);
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w));
    QList<QAccessibleInterface *> found;
    focusable(QAccessible::queryAccessibleInterface(w), found);
    QStringList names;
    for (QAccessibleInterface *iface : std::as_const(found)) {
        const QString name = iface->text(QAccessible::Name);
        const QString who = iface->object() ? iface->object()->objectName() : QString();
        QVERIFY2(!name.isEmpty(), qPrintable(who + QStringLiteral(" has no name")));
        names << name;
    }
    QCOMPARE(found.size(), count);
    // No two controls are read alike.
    names.removeDuplicates();
    QCOMPARE(names.size(), count);
}

void tst_Accessibility::changesAreAnnounced_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<int>("expected");
    QTest::newRow("results written") << "calculate" << int(QAccessible::TextInserted);
    QTest::newRow("results written again") << "calculate twice" << int(QAccessible::TextUpdated);
    QTest::newRow("caption") << "caption" << int(QAccessible::NameChanged);
    QTest::newRow("switch clicked") << "switch click" << int(QAccessible::StateChanged);
    QTest::newRow("switch pressed by an assistive tool")
        << "switch press" << int(QAccessible::StateChanged);
    QTest::newRow("switch Value from code") << "switch value" << int(QAccessible::StateChanged);
}

// The calculation writes both results, and each is announced with its new text; a new caption
// is a new name; a switch's Value is its checked state, however it changes.
void tst_Accessibility::changesAreAnnounced()
{
    QFETCH(QString, change);
    QFETCH(int, expected);
    if (!m_announcing)
        QSKIP("no accessibility bus; tst_accessibility_announcements runs this with one");
    QAccessible::installUpdateHandler(recordAnnouncement);
    const auto heard = [](QAccessible::Event type, QObject *object) {
        QList<Announcement> found;
        for (const Announcement &a : std::as_const(announcements)) {
            if (a.type == type && a.object == object)
                found << a;
        }
        return found;
    };

    if (change.startsWith(u"calculate")) {
        auto *form = static_cast<frmMirvale *>(window(QStringLiteral("calculator")));
        const auto calculate = [form](const char *stock) {
            form->control<QLineEdit>(QStringLiteral("txtStock"))->setText(stock);
            form->control<QLineEdit>(QStringLiteral("txtFinal"))->setText(QStringLiteral("1"));
            form->control<QLineEdit>(QStringLiteral("txtFinalVolume"))
                ->setText(QStringLiteral("10"));
            announcements.clear();
            form->cmdAction_Click(0);
        };
        calculate("3");
        if (change == u"calculate twice")
            calculate("4");
        for (const char *name : {"txtStockVolume", "txtDiluentVolume"}) {
            auto *result = form->control<QLineEdit>(QString::fromLatin1(name));
            const QList<Announcement> updates = heard(QAccessible::Event(expected), result);
            QCOMPARE(updates.size(), 1);
            QCOMPARE(updates[0].text, result->text());
            QVERIFY(!result->text().isEmpty());
        }
        return;
    }

    forms::PropertyBag bag = captioned(QStringLiteral("&Exit"));
    if (change.startsWith(u"switch"))
        bag.WriteProperty(QStringLiteral("Switch"), QVariant::fromValue<qint16>(-1));
    Window w(bag);
    QVERIFY(w.show());
    announcements.clear();
    if (change == u"caption") {
        w.button->setCaption(QStringLiteral("&Quit"));
    } else if (change == u"switch click") {
        QTest::mouseClick(w.face, Qt::LeftButton, {}, w.face->rect().center());
        QCursor::setPos(Away);
    } else if (change == u"switch press") {
        QAccessible::queryAccessibleInterface(w.button)->actionInterface()->doAction(
            QAccessibleActionInterface::toggleAction());
    } else {
        w.button->setValue(true);
        w.button->setValue(true);
    }
    if (change != u"caption")
        QVERIFY(w.button->Value());
    for (QObject *object : {static_cast<QObject *>(w.button), static_cast<QObject *>(w.face)}) {
        const QList<Announcement> events = heard(QAccessible::Event(expected), object);
        QCOMPARE(events.size(), 1);
        if (expected == QAccessible::StateChanged)
            QVERIFY(events[0].checkedChanged);
        if (expected == QAccessible::NameChanged)
            QCOMPARE(QAccessible::queryAccessibleInterface(object)->text(QAccessible::Name),
                     QStringLiteral("Quit"));
    }

    // A push button flips Value too, but shows it nowhere: nothing is announced.
    forms::PropertyBag pushBag = baseBag();
    Window push(pushBag);
    announcements.clear();
    push.button->setValue(true);
    QVERIFY(heard(QAccessible::StateChanged, push.button).isEmpty());
}

QTEST_MAIN(tst_Accessibility)
#include "tst_accessibility.moc"
