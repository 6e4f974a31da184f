#include "buttonpage.h"
#include "lumobutton.h"
#include "messageboxwatcher.h"
#include "propertypagehost.h"
#include "runtimeerror.h"
#include "standardpages.h"
#include "usercontrol.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

namespace {

// Not a button at all: any object with properties of these names can be edited by the page.
class Gadget : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool Value MEMBER value)
    Q_PROPERTY(bool Switch MEMBER on)
    Q_PROPERTY(qint16 Alignment MEMBER alignment)
    Q_PROPERTY(qint16 Delta MEMBER delta)
    Q_PROPERTY(QString Caption MEMBER caption)
    Q_PROPERTY(qint16 MousePointer MEMBER pointer)
    Q_PROPERTY(QString ToolTipText MEMBER tip)
public:
    bool value = true, on = true;
    qint16 alignment = 2, delta = 7, pointer = 12;
    QString caption = QStringLiteral("gadget"), tip = QStringLiteral("tip");
};

struct Snapshot
{
    bool value, on;
    qint16 alignment, delta, pointer;
    QString caption, tip;
    friend bool operator==(const Snapshot &, const Snapshot &) = default;
};

Snapshot snapshot(const LumoButton &b)
{
    return {b.Value(),        b.Switch(),  b.Alignment(),  b.Delta(),
            b.MousePointer(), b.Caption(), b.ToolTipText()};
}

} // namespace

class tst_ButtonPage : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void pointerEntries();
    void pointerShown_data();
    void pointerShown();
    void pointerApplied();
    void checkBoxesAndBooleans();
    void unchangedApplyWritesTheSameValues();
    void onlyTheFirstSelectedIsEdited();
    void emptyCaptionIsApplied();
    void failingApplyKeepsWhatWasWritten_data();
    void failingApplyKeepsWhatWasWritten();
    void editingAnyFieldMarksChanged_data();
    void editingAnyFieldMarksChanged();
    void loadingMarksChangedOnlyWhenAFieldChanges();
    void screenOrderAndTabOrderDiffer();
    void editsAnyObjectByName();
    void runModeRefusalPassesToTheHost();
    void hostOffersApplyWhileChanged();
    void hostReportsAFailedApply();
    void hostCancelAppliesNothing();
    void hostShowsThePagesInTheControlsOrder();

private:
    template <typename T> T *field(const char *name)
    {
        return m_page->findChild<T *>(QString::fromLatin1(name));
    }
    void load(QList<QObject *> selection);

    QWidget *m_container = nullptr;
    LumoButton *m_button = nullptr;
    ButtonPage *m_page = nullptr;
};

void tst_ButtonPage::initTestCase()
{
    forms::registerStandardPages();
    registerButtonPage();
}

void tst_ButtonPage::init()
{
    m_container = new QWidget;
    m_container->setProperty(forms::UserControl::UserModeProperty, false);
    m_button = new LumoButton(m_container);
    m_button->InitProperties();
    m_page = new ButtonPage;
}

void tst_ButtonPage::cleanup()
{
    delete m_page;
    delete m_container;
}

void tst_ButtonPage::load(QList<QObject *> selection)
{
    m_page->setSelectedControls(selection);
    m_page->SelectionChanged();
}

void tst_ButtonPage::pointerEntries()
{
    auto *list = field<QComboBox>("cboMouse");
    QCOMPARE(list->count(), 17);
    QVERIFY(!list->isEditable());
    for (int i = 0; i < 16; ++i) {
        QVERIFY(list->itemText(i).startsWith(QString::number(i) + " - "));
        QCOMPARE(list->itemData(i).toInt(), i);
    }
    QCOMPARE(list->itemText(13), QStringLiteral("13 - Arrow and Hourglass"));
    QCOMPARE(list->itemText(16), QStringLiteral("99 - Custom"));
    QCOMPARE(list->itemData(16).toInt(), 99);
}

void tst_ButtonPage::pointerShown_data()
{
    QTest::addColumn<int>("pointer");
    QTest::addColumn<QString>("shown");
    QTest::newRow("default") << 0 << "0 - Default";
    QTest::newRow("size all") << 15 << "15 - Size All";
    QTest::newRow("custom") << 99 << "99 - Custom";
}

void tst_ButtonPage::pointerShown()
{
    QFETCH(int, pointer);
    QFETCH(QString, shown);
    m_button->setMousePointer(qint16(pointer));
    load({m_button});
    QCOMPARE(field<QComboBox>("cboMouse")->currentText(), shown);
}

void tst_ButtonPage::pointerApplied()
{
    load({m_button});
    auto *list = field<QComboBox>("cboMouse");
    list->setCurrentIndex(list->findText("13 - Arrow and Hourglass"));
    m_page->ApplyChanges();
    QCOMPARE(m_button->MousePointer(), qint16(13));
    list->setCurrentIndex(16);
    m_page->ApplyChanges();
    QCOMPARE(m_button->MousePointer(), qint16(99));
}

void tst_ButtonPage::checkBoxesAndBooleans()
{
    m_button->setValue(true);
    m_button->setSwitch(false);
    load({m_button});
    QCOMPARE(field<QCheckBox>("chkValue")->checkState(), Qt::Checked);
    QCOMPARE(field<QCheckBox>("chkSwitch")->checkState(), Qt::Unchecked);
    QSignalSpy changes(m_button, &forms::UserControl::propertyChanged);
    m_page->ApplyChanges();
    QCOMPARE(m_button->Value(), true);
    QCOMPARE(m_button->Switch(), false);
    // Every property is written each time, in the apply order.
    QStringList written;
    for (const auto &change : changes)
        written.append(change.at(0).toString());
    QCOMPARE(written, QStringList({"Value", "Switch", "Alignment", "Delta", "Caption",
                                   "MousePointer", "ToolTipText"}));
}

void tst_ButtonPage::unchangedApplyWritesTheSameValues()
{
    m_button->setCaption("&Exit");
    m_button->setDelta(-30);
    m_button->setAlignment(-1);
    m_button->setSwitch(true);
    m_button->setToolTipText("Exit Program");
    m_button->setMousePointer(7);
    const Snapshot before = snapshot(*m_button);
    load({m_button});
    m_page->ApplyChanges();
    QVERIFY(snapshot(*m_button) == before);
}

void tst_ButtonPage::onlyTheFirstSelectedIsEdited()
{
    auto *second = new LumoButton(m_container);
    second->InitProperties();
    second->setCaption("second");
    m_button->setCaption("first");
    load({m_button, second});
    QCOMPARE(field<QLineEdit>("txtCaption")->text(), QStringLiteral("first"));
    field<QLineEdit>("txtCaption")->setText("edited");
    m_page->ApplyChanges();
    QCOMPARE(m_button->Caption(), QStringLiteral("edited"));
    QCOMPARE(second->Caption(), QStringLiteral("second"));
}

void tst_ButtonPage::emptyCaptionIsApplied()
{
    load({m_button});
    field<QLineEdit>("txtCaption")->clear();
    m_page->ApplyChanges();
    QCOMPARE(m_button->Caption(), QString());
}

void tst_ButtonPage::failingApplyKeepsWhatWasWritten_data()
{
    QTest::addColumn<QString>("alignment");
    QTest::addColumn<QString>("delta");
    QTest::addColumn<int>("error");
    QTest::addColumn<QStringList>("written");
    QTest::newRow("delta not a number")
        << "1"
        << "abc" << 13 << QStringList{"Value", "Switch", "Alignment"};
    QTest::newRow("delta empty") << "1"
                                 << "" << 13 << QStringList{"Value", "Switch", "Alignment"};
    QTest::newRow("delta too big for 16 bits")
        << "1"
        << "70000" << 6 << QStringList{"Value", "Switch", "Alignment"};
    QTest::newRow("alignment not a number") << "left"
                                            << "10" << 13 << QStringList{"Value", "Switch"};
}

// The first failing write ends the apply: what was written before it stays, the rest is not
// touched.
void tst_ButtonPage::failingApplyKeepsWhatWasWritten()
{
    QFETCH(QString, alignment);
    QFETCH(QString, delta);
    QFETCH(int, error);
    QFETCH(QStringList, written);
    m_button->setCaption("old caption");
    m_button->setToolTipText("old tip");
    m_button->setMousePointer(3);
    m_button->setDelta(45);
    m_button->setAlignment(0);
    load({m_button});
    field<QCheckBox>("chkValue")->setCheckState(Qt::Checked);
    field<QCheckBox>("chkSwitch")->setCheckState(Qt::Checked);
    field<QLineEdit>("txtAlignment")->setText(alignment);
    field<QLineEdit>("txtDelta")->setText(delta);
    field<QLineEdit>("txtCaption")->setText("new caption");
    field<QLineEdit>("txtToolTopText")->setText("new tip");
    field<QComboBox>("cboMouse")->setCurrentIndex(11);

    QSignalSpy changes(m_button, &forms::UserControl::propertyChanged);
    try {
        m_page->ApplyChanges();
        QFAIL("the apply did not fail");
    } catch (const forms::RuntimeError &failure) {
        QCOMPARE(failure.number(), error);
    }
    QStringList seen;
    for (const auto &change : changes)
        seen.append(change.at(0).toString());
    QCOMPARE(seen, written);
    QVERIFY(m_button->Value());
    QVERIFY(m_button->Switch());
    QCOMPARE(m_button->Alignment(), qint16(written.contains("Alignment") ? 1 : 0));
    QCOMPARE(m_button->Delta(), qint16(45));
    QCOMPARE(m_button->Caption(), QStringLiteral("old caption"));
    QCOMPARE(m_button->MousePointer(), qint16(3));
    QCOMPARE(m_button->ToolTipText(), QStringLiteral("old tip"));
}

void tst_ButtonPage::editingAnyFieldMarksChanged_data()
{
    QTest::addColumn<QString>("name");
    for (const char *name : {"txtCaption", "txtDelta", "txtAlignment", "txtToolTopText",
                             "chkSwitch", "chkValue", "cboMouse"})
        QTest::newRow(name) << name;
}

// After an apply, editing any one field marks the page changed again and the next apply writes
// that field.
void tst_ButtonPage::editingAnyFieldMarksChanged()
{
    QFETCH(QString, name);
    load({m_button});
    m_page->ApplyChanges();
    m_page->setChanged(false);
    QWidget *edited = m_page->findChild<QWidget *>(name);
    if (auto *text = qobject_cast<QLineEdit *>(edited))
        text->setText(name == u"txtCaption" || name == u"txtToolTopText" ? QStringLiteral("x")
                                                                         : QStringLiteral("2"));
    else if (auto *box = qobject_cast<QCheckBox *>(edited))
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(4, box->height() / 2));
    else
        qobject_cast<QComboBox *>(edited)->setCurrentIndex(5);
    QVERIFY(m_page->Changed());
    m_page->ApplyChanges();
    const QMap<QString, std::function<bool()>> written = {
        {"txtCaption", [&] { return m_button->Caption() == u"x"; }},
        {"txtDelta", [&] { return m_button->Delta() == 2; }},
        {"txtAlignment", [&] { return m_button->Alignment() == 2; }},
        {"txtToolTopText", [&] { return m_button->ToolTipText() == u"x"; }},
        {"chkSwitch", [&] { return m_button->Switch(); }},
        {"chkValue", [&] { return m_button->Value(); }},
        {"cboMouse", [&] { return m_button->MousePointer() == 5; }},
    };
    QVERIFY(written.value(name)());
}

// Loading fills the fields through their own change notifications: the page reports itself
// changed when a loaded value differs from what a field held, and only then.
void tst_ButtonPage::loadingMarksChangedOnlyWhenAFieldChanges()
{
    load({m_button});
    QVERIFY(m_page->Changed());
    m_page->setChanged(false);
    load({m_button});
    QVERIFY(!m_page->Changed());
    m_button->setDelta(46);
    load({m_button});
    QVERIFY(m_page->Changed());
}

void tst_ButtonPage::screenOrderAndTabOrderDiffer()
{
    const QStringList onScreen = {"cboMouse", "txtCaption", "txtDelta", "txtAlignment",
                                  "txtToolTopText"};
    for (qsizetype i = 1; i < onScreen.size(); ++i)
        QVERIFY(m_page->findChild<QWidget *>(onScreen[i - 1])->y() <
                m_page->findChild<QWidget *>(onScreen[i])->y());
    QStringList tabOrder;
    QWidget *w = field<QWidget>("txtCaption");
    for (int i = 0; i < 7; ++i) {
        tabOrder.append(w->objectName());
        do
            w = w->nextInFocusChain();
        while (w->focusPolicy() == Qt::NoFocus || w->objectName().isEmpty());
    }
    QCOMPARE(tabOrder, QStringList({"txtCaption", "txtDelta", "txtAlignment", "cboMouse",
                                    "txtToolTopText", "chkSwitch", "chkValue"}));
}

void tst_ButtonPage::editsAnyObjectByName()
{
    Gadget gadget;
    load({&gadget});
    QCOMPARE(field<QLineEdit>("txtCaption")->text(), QStringLiteral("gadget"));
    QCOMPARE(field<QComboBox>("cboMouse")->currentIndex(), 12);
    field<QLineEdit>("txtDelta")->setText("-5");
    field<QCheckBox>("chkValue")->setCheckState(Qt::Unchecked);
    m_page->ApplyChanges();
    QCOMPARE(gadget.delta, qint16(-5));
    QCOMPARE(gadget.value, false);
    QCOMPARE(gadget.alignment, qint16(2));
}

// A button in a running window refuses design-time-only properties; the page passes that on.
void tst_ButtonPage::runModeRefusalPassesToTheHost()
{
    QWidget running;
    auto *button = new LumoButton(&running);
    button->InitProperties();
    load({button});
    field<QCheckBox>("chkValue")->setCheckState(Qt::Checked);
    try {
        m_page->ApplyChanges();
        QFAIL("a running button took a design-time property");
    } catch (const forms::RuntimeError &failure) {
        QCOMPARE(failure.number(), 393);
    }
    QVERIFY(button->Value());
}

void tst_ButtonPage::hostOffersApplyWhileChanged()
{
    forms::PropertyPageHost host({m_button});
    auto *apply = host.findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Apply);
    auto *page = qobject_cast<ButtonPage *>(host.page("Button"));
    QVERIFY(page);
    host.findChild<QTabWidget *>()->setCurrentWidget(page);
    // Loading changed the fields, so the page starts out changed.
    QVERIFY(apply->isEnabled());
    apply->click();
    QVERIFY(!page->Changed());
    QVERIFY(!apply->isEnabled());
    page->findChild<QLineEdit *>("txtCaption")->setText("Apply me");
    QVERIFY(apply->isEnabled());
    apply->click();
    QCOMPARE(m_button->Caption(), QStringLiteral("Apply me"));
    QVERIFY(!apply->isEnabled());
}

void tst_ButtonPage::hostReportsAFailedApply()
{
    forms::PropertyPageHost host({m_button});
    auto *page = host.page("Button");
    page->findChild<QLineEdit *>("txtDelta")->setText("abc");
    MessageBoxWatcher watcher;
    QVERIFY(!host.applyChanges());
    QCOMPARE(watcher.boxes.size(), 1);
    QVERIFY(watcher.boxes[0].text.contains("13"));
    QVERIFY(watcher.boxes[0].text.contains("Type mismatch"));
    // The page still holds its edits.
    QVERIFY(page->Changed());
}

void tst_ButtonPage::hostCancelAppliesNothing()
{
    forms::PropertyPageHost host({m_button});
    host.page("Button")->findChild<QLineEdit *>("txtCaption")->setText("not applied");
    host.findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Cancel)->click();
    QCOMPARE(m_button->Caption(), QStringLiteral("LumoButton"));
}

void tst_ButtonPage::hostShowsThePagesInTheControlsOrder()
{
    forms::PropertyPageHost host({m_button});
    QStringList captions;
    for (forms::PropertyPage *page : host.pages())
        captions.append(page->windowTitle());
    QCOMPARE(captions, QStringList({"Font", "Picture", "Color", "Button"}));
    auto *colours = qobject_cast<forms::StandardPage *>(host.pages().at(2));
    QCOMPARE(colours->propertyNames(),
             QStringList({"BackColor", "DarkBorderColor", "ForeColor", "ForeColorPressed",
                          "ForeColorSelected", "LightBorderColor"}));
    colours->setValue("BackColor", QVariant::fromValue<quint32>(0x0000FF));
    QVERIFY(host.applyChanges());
    QCOMPARE(m_button->BackColor(), 0x0000FFu);
}

QTEST_MAIN(tst_ButtonPage)
#include "tst_buttonpage.moc"
