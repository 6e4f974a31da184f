#include "app.h"
#include "application.h"
#include "border.h"
#include "buttonpage.h"
#include "colors.h"
#include "frmmirvale.h"
#include "label.h"
#include "lumobutton.h"
#include "messageboxwatcher.h"
#include "picturebox.h"
#include "textbox.h"
#include "twips.h"

#include <QAction>
#include <QElapsedTimer>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

int endCount = 0;
void countEnd()
{
    ++endCount;
}

// An English number text with the system's decimal and group separators instead.
QString inSystemLocale(const QString &english)
{
    const QLocale system = QLocale::system();
    QString text;
    for (QChar c : english) {
        if (c == u'.')
            text += system.decimalPoint();
        else if (c == u',')
            text += system.groupSeparator();
        else
            text += c;
    }
    return text;
}

enum class Face { Flat, Raised, Sunken, Other };

// Which face a button's surface shows, read from its corner pixels.
Face faceOf(LumoButton *button)
{
    auto *surface = button->findChild<forms::PictureBox *>(QStringLiteral("picButton"));
    const QImage image = surface->Image();
    const QRgb topLeft = image.pixel(0, 0);
    const QRgb bottomRight = image.pixel(image.width() - 1, image.height() - 1);
    const QRgb light = forms::toQColor(button->LightBorderColor()).rgb();
    const QRgb dark = forms::toQColor(button->DarkBorderColor()).rgb();
    const QRgb back = forms::toQColor(button->BackColor()).rgb();
    if (topLeft == dark && bottomRight == light)
        return Face::Sunken;
    if (topLeft == light && bottomRight == dark)
        return Face::Raised;
    if (topLeft == back && bottomRight == back)
        return Face::Flat;
    return Face::Other;
}

// Records each face the button's surface puts on screen, with the time it appeared, and when
// the results change.
class Timeline : public QObject
{
public:
    explicit Timeline(LumoButton *button, forms::TextBox *result) : m_button(button)
    {
        button->findChild<forms::PictureBox *>(QStringLiteral("picButton"))
            ->installEventFilter(this);
        connect(result, &QLineEdit::textChanged, this, [this] { resultAt = m_clock.elapsed(); });
        m_clock.start();
    }
    QList<std::pair<qint64, Face>> faces;
    qint64 resultAt = -1;

    qint64 firstAt(Face face) const
    {
        for (const auto &[at, f] : faces)
            if (f == face)
                return at;
        return -1;
    }
    qint64 lastAt(Face face) const
    {
        qint64 last = -1;
        for (const auto &[at, f] : faces)
            if (f == face)
                last = at;
        return last;
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            faces.append({m_clock.elapsed(), faceOf(m_button)});
        return false;
    }

private:
    LumoButton *m_button;
    QElapsedTimer m_clock;
};

} // namespace

class tst_frmMirvale : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void titleIconAndMenu();
    void opensCentred();
    void calculates_data();
    void calculates();
    void refusesBadInput_data();
    void refusesBadInput();
    void typedLettersStayInTheField();
    void enterWalksTheFieldsAndCalculates();
    void commandsShowThePressFirst_data();
    void commandsShowThePressFirst();
    void exitCommandsEndTheProgram_data();
    void exitCommandsEndTheProgram();
    void unknownCommandDoesNothing();
    void resultFieldsAreSetApart();
    void layout_data();
    void layout();
    void keepsItsMinimumSize_data();
    void keepsItsMinimumSize();
    void opensAtItsStoredSize_data();
    void opensAtItsStoredSize();
    void nothingClippedOrOverlapping_data();
    void nothingClippedOrOverlapping();
    void minimisedWindowIsNotLaidOut();

private:
    void show();
    void type(forms::TextBox *field, const QString &text);
    forms::TextBox *field(const char *name) { return m_form->control<forms::TextBox>(name); }
    LumoButton *button(int index) { return m_form->control<LumoButton>("cmdAction", index); }

    std::unique_ptr<frmMirvale> m_form;
    QFont m_desktopFont;
};

void tst_frmMirvale::initTestCase()
{
    SetUpApplication();
    forms::setEndHandler(countEnd);
    m_desktopFont = QApplication::font();
}

void tst_frmMirvale::init()
{
    endCount = 0;
    m_form = std::make_unique<frmMirvale>();
}

void tst_frmMirvale::cleanup()
{
    m_form.reset();
}

void tst_frmMirvale::show()
{
    m_form->Show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    m_form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
}

void tst_frmMirvale::type(forms::TextBox *field, const QString &text)
{
    field->setFocus();
    QTest::keyClicks(field, text);
}

void tst_frmMirvale::titleIconAndMenu()
{
    // The icon is decoded only once the window has painted, so it costs the first paint nothing.
    QVERIFY(m_form->windowIcon().isNull());
    show();
    QCOMPARE(m_form->windowTitle(), QStringLiteral("Mirvale V. 1.0.1"));
    QTRY_VERIFY(m_form->windowIcon().availableSizes().contains(QSize(16, 16)));
    QVERIFY(m_form->windowIcon().availableSizes().contains(QSize(32, 32)));

    const QList<QAction *> top = m_form->menuBar()->actions();
    QCOMPARE(top.size(), 1);
    QCOMPARE(top[0]->text(), QStringLiteral("&File"));
    const QList<QAction *> items = top[0]->menu()->actions();
    QCOMPARE(items.size(), 3);
    QCOMPARE(items[0]->text(), QStringLiteral("&Calculate"));
    QCOMPARE(items[0]->shortcut(), QKeySequence(Qt::Key_F5));
    QVERIFY(items[1]->isSeparator());
    QCOMPARE(items[2]->text(), QStringLiteral("&Exit"));
    QCOMPARE(items[2]->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_E));

    // The window's fields are built in its font, yet menus and message boxes keep the desktop's.
    QVERIFY(field("txtStock")->font() != m_desktopFont);
    QCOMPARE(QApplication::font(), m_desktopFont);
}

void tst_frmMirvale::opensCentred()
{
    m_form->move(0, 0);
    show();
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QPoint offset = m_form->frameGeometry().center() - screen.center();
    QVERIFY2(qAbs(offset.x()) <= 1 && qAbs(offset.y()) <= 1,
             qPrintable(QStringLiteral("%1, %2").arg(offset.x()).arg(offset.y())));
}

void tst_frmMirvale::calculates_data()
{
    QTest::addColumn<QString>("stock");
    QTest::addColumn<QString>("final");
    QTest::addColumn<QString>("volume");
    QTest::addColumn<QString>("stockVolume");
    QTest::addColumn<QString>("diluentVolume");
    QTest::newRow("ten-fold") << "10"
                              << "1"
                              << "100"
                              << "10"
                              << "90";
    QTest::newRow("thirds") << "3"
                            << "1"
                            << "10"
                            << "3.33333333333333"
                            << "6.66666666666667";
    QTest::newRow("final above stock") << "2"
                                       << "5"
                                       << "10"
                                       << "25"
                                       << "-15";
    QTest::newRow("blanks, groups, exponent") << " 1,000 "
                                              << "2.5E1"
                                              << "40"
                                              << "1"
                                              << "39";
    QTest::newRow("beyond a double while intermediate") << "1E200"
                                                        << "1E200"
                                                        << "1E200"
                                                        << "1E+200"
                                                        << "0";
    QTest::newRow("result too large") << "1E-300"
                                      << "1E10"
                                      << "1E10"
                                      << "Infinity"
                                      << "-Infinity";
    QTest::newRow("negative zero stock volume") << "5"
                                                << "-1"
                                                << "0"
                                                << "0"
                                                << "0";
}

// Typed into the fields and calculated with the Calculate button.
void tst_frmMirvale::calculates()
{
    QFETCH(QString, stock);
    QFETCH(QString, final);
    QFETCH(QString, volume);
    QFETCH(QString, stockVolume);
    QFETCH(QString, diluentVolume);
    // The rows are written with English separators; the window reads and writes the system's.
    for (QString *text : {&stock, &final, &volume, &stockVolume, &diluentVolume})
        *text = inSystemLocale(*text);
    show();
    type(field("txtStock"), stock);
    type(field("txtFinal"), final);
    type(field("txtFinalVolume"), volume);
    auto *face = button(0)->findChild<forms::PictureBox *>(QStringLiteral("picButton"));
    QTest::mouseClick(face, Qt::LeftButton, {}, face->rect().center());
    QCOMPARE(field("txtStockVolume")->text(), stockVolume);
    QCOMPARE(field("txtDiluentVolume")->text(), diluentVolume);
    // On success the focus stays where it was.
    QCOMPARE(QApplication::focusWidget(), face);
}

void tst_frmMirvale::refusesBadInput_data()
{
    QTest::addColumn<QString>("stock");
    QTest::addColumn<QString>("final");
    QTest::addColumn<QString>("volume");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");
    const QString notNumeric = QStringLiteral("Please enter a numeric value");
    const QString zero = QStringLiteral("Stock concentration cannot be 0!");
    QTest::newRow("stock not numeric, volume empty") << "abc"
                                                     << "1"
                                                     << "" << notNumeric << "txtStock";
    QTest::newRow("stock empty") << ""
                                 << "1"
                                 << "10" << notNumeric << "txtStock";
    QTest::newRow("final blanks only") << "10"
                                       << "   "
                                       << "10" << notNumeric << "txtFinal";
    QTest::newRow("volume with a stray letter") << "10"
                                                << "1"
                                                << "12x" << notNumeric << "txtFinalVolume";
    QTest::newRow("volume beyond a double") << "10"
                                            << "1"
                                            << "1E400" << notNumeric << "txtFinalVolume";
    QTest::newRow("volume infinity") << "10"
                                     << "1"
                                     << "inf" << notNumeric << "txtFinalVolume";
    QTest::newRow("stock zero") << "0"
                                << "1"
                                << "10" << zero << "txtStock";
    QTest::newRow("stock 0.0") << "0.0"
                               << "1"
                               << "10" << zero << "txtStock";
    QTest::newRow("stock -0") << "-0"
                              << "1"
                              << "10" << zero << "txtStock";
    // A group separator where the locale puts none: a mistyped decimal separator, which read as
    // 125 and 75 would give volumes 10 and 100 times off.
    QTest::newRow("stock with a decimal comma") << "12,5"
                                                << "0.75"
                                                << "100" << notNumeric << "txtStock";
    QTest::newRow("final with single-digit groups") << "12.5"
                                                    << "0,75"
                                                    << "100" << notNumeric << "txtFinal";
    // The zero check comes after every field has been read as a number.
    QTest::newRow("stock zero, final not numeric") << "0"
                                                   << "x"
                                                   << "10" << notNumeric << "txtFinal";
}

// One box at a time, modal, titled "Error!", warning icon, one OK button; the focus goes to the
// offending field and the results stay as they were.
void tst_frmMirvale::refusesBadInput()
{
    QFETCH(QString, stock);
    QFETCH(QString, final);
    QFETCH(QString, volume);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    show();
    field("txtStockVolume")->setText("old stock volume");
    field("txtDiluentVolume")->setText("old diluent volume");
    type(field("txtStock"), inSystemLocale(stock));
    type(field("txtFinal"), inSystemLocale(final));
    type(field("txtFinalVolume"), inSystemLocale(volume));
    MessageBoxWatcher watcher;
    m_form->cmdAction_Click(0);
    QCOMPARE(watcher.boxes.size(), 1);
    const MessageBoxWatcher::Box &box = watcher.boxes.first();
    QCOMPARE(box.title, QStringLiteral("Error!"));
    QCOMPARE(box.text, message);
    QCOMPARE(box.icon, QMessageBox::Warning);
    QCOMPARE(box.buttons, QStringList{"OK"});
    QCOMPARE(m_form->focusWidget(), field(qPrintable(focus)));
    QCOMPARE(field("txtStockVolume")->text(), QStringLiteral("old stock volume"));
    QCOMPARE(field("txtDiluentVolume")->text(), QStringLiteral("old diluent volume"));
}

void tst_frmMirvale::typedLettersStayInTheField()
{
    show();
    for (const char *name : {"txtStock", "txtFinal", "txtFinalVolume"}) {
        type(field(name), QStringLiteral("1a,b;-Z "));
        QCOMPARE(field(name)->text(), QStringLiteral("1a,b;-Z "));
    }
}

void tst_frmMirvale::enterWalksTheFieldsAndCalculates()
{
    show();
    type(field("txtStock"), "10");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), field("txtFinal"));
    QTest::keyClicks(QApplication::focusWidget(), "1");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter); // the keypad's Enter too
    QCOMPARE(QApplication::focusWidget(), field("txtFinalVolume"));
    QTest::keyClicks(QApplication::focusWidget(), "100");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    // Enter types nothing into the fields it leaves.
    QCOMPARE(field("txtStock")->text(), QStringLiteral("10"));
    QCOMPARE(field("txtFinal")->text(), QStringLiteral("1"));
    QCOMPARE(field("txtFinalVolume")->text(), QStringLiteral("100"));
    QCOMPARE(field("txtStockVolume")->text(), QStringLiteral("10"));
    QCOMPARE(field("txtDiluentVolume")->text(), QStringLiteral("90"));
    QCOMPARE(QApplication::focusWidget(), field("txtStock"));

    // A failing check after Enter in the last field moves the focus to the offending field.
    field("txtFinal")->setText("x");
    field("txtFinalVolume")->setFocus();
    MessageBoxWatcher watcher;
    QTest::keyClick(field("txtFinalVolume"), Qt::Key_Return);
    QCOMPARE(watcher.boxes.size(), 1);
    QCOMPARE(m_form->focusWidget(), field("txtFinal"));
}

void tst_frmMirvale::commandsShowThePressFirst_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("focus");
    for (const char *focus : {"txtStock", "txtFinal", "txtFinalVolume", "txtStockVolume"})
        QTest::addRow("F5 in %s", focus) << "F5" << focus;
    QTest::newRow("File > Calculate") << "menu"
                                      << "txtStock";
    QTest::newRow("Enter in the final volume") << "Enter"
                                               << "txtFinalVolume";
}

// Every command from the keyboard or the menu shows the Calculate button pressed for 125 ms,
// then at rest, and only then calculates.
void tst_frmMirvale::commandsShowThePressFirst()
{
    QFETCH(QString, command);
    QFETCH(QString, focus);
    show();
    field("txtStock")->setText("10");
    field("txtFinal")->setText("1");
    field("txtFinalVolume")->setText("100");
    field(qPrintable(focus))->setFocus();
    Timeline timeline(button(0), field("txtStockVolume"));
    if (command == u"F5")
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F5);
    else if (command == u"Enter")
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    else
        m_form->menuItem("mnuFileCalculate")->trigger();

    QCOMPARE(field("txtStockVolume")->text(), QStringLiteral("10"));
    const qint64 pressed = timeline.firstAt(Face::Sunken);
    const qint64 rested = timeline.lastAt(Face::Flat);
    QVERIFY2(pressed >= 0, "the pressed face was never shown");
    QVERIFY2(rested > pressed, "the resting face did not follow the pressed one");
    QVERIFY2(rested - pressed >= 125, qPrintable(QString::number(rested - pressed)));
    QVERIFY(timeline.resultAt >= rested);
    QCOMPARE(faceOf(button(0)), Face::Flat);
}

void tst_frmMirvale::exitCommandsEndTheProgram_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("paused");
    QTest::newRow("Ctrl+E in a field") << "Ctrl+E" << true;
    QTest::newRow("File > Exit") << "menu" << true;
    QTest::newRow("Exit button") << "button" << false;
}

// Every window is unloaded and the program ends, without a question; the button ends it at
// once, the keyboard and the menu after showing the press.
void tst_frmMirvale::exitCommandsEndTheProgram()
{
    QFETCH(QString, command);
    QFETCH(bool, paused);
    show();
    field("txtFinal")->setFocus();
    Timeline timeline(button(1), field("txtStockVolume"));
    MessageBoxWatcher watcher;
    auto *face = button(1)->findChild<forms::PictureBox *>(QStringLiteral("picButton"));
    if (command == u"Ctrl+E")
        QTest::keyClick(field("txtFinal"), Qt::Key_E, Qt::ControlModifier);
    else if (command == u"menu")
        m_form->menuItem("mnuFileExit")->trigger();
    else
        QTest::mouseClick(face, Qt::LeftButton, {}, face->rect().center());

    QCOMPARE(endCount, 1);
    QVERIFY(!m_form->isVisible());
    QVERIFY(forms::Form::Forms().isEmpty());
    QVERIFY(watcher.boxes.isEmpty());
    QVERIFY(timeline.firstAt(Face::Sunken) >= 0);
    // Only the played press returns the face to rest before the program ends.
    QCOMPARE(timeline.lastAt(Face::Flat) > timeline.firstAt(Face::Sunken), paused);
    if (command == u"Ctrl+E")
        QCOMPARE(field("txtFinal")->cursorPosition(), 0);
}

void tst_frmMirvale::unknownCommandDoesNothing()
{
    show();
    field("txtStock")->setText("10");
    field("txtFinal")->setText("1");
    field("txtFinalVolume")->setText("100");
    MessageBoxWatcher watcher;
    for (qint16 index : {2, -1, 32767})
        m_form->cmdAction_Click(index);
    QTest::qWait(30);
    QVERIFY(watcher.boxes.isEmpty());
    QCOMPARE(endCount, 0);
    QVERIFY(m_form->isVisible());
    QVERIFY(field("txtStockVolume")->text().isEmpty());
}

// The results are read-only and out of the Tab sequence, but can be selected and copied.
void tst_frmMirvale::resultFieldsAreSetApart()
{
    show();
    QStringList visited;
    field("txtStock")->setFocus();
    for (int i = 0; i < 6; ++i) {
        QWidget *focus = QApplication::focusWidget();
        QWidget *control = focus->objectName() == u"picButton" ? focus->parentWidget() : focus;
        visited.append(control->objectName() +
                       (qobject_cast<LumoButton *>(control)
                            ? QString::number(control->property("Index").toInt())
                            : QString()));
        QTest::keyClick(focus, Qt::Key_Tab);
    }
    QCOMPARE(visited, QStringList({"txtStock", "txtFinal", "txtFinalVolume", "cmdAction0",
                                   "cmdAction1", "txtStock"}));
    for (const char *name : {"txtStockVolume", "txtDiluentVolume"}) {
        forms::TextBox *result = field(name);
        result->setText("12.5");
        QVERIFY(result->isReadOnly());
        QTest::mouseClick(result, Qt::LeftButton);
        QCOMPARE(QApplication::focusWidget(), result);
        QTest::keyClicks(result, "9");
        QCOMPARE(result->text(), QStringLiteral("12.5"));
        result->selectAll();
        QCOMPARE(result->selectedText(), QStringLiteral("12.5"));
    }
}

void tst_frmMirvale::layout_data()
{
    QTest::addColumn<QSize>("client");
    QTest::addColumn<bool>("classicFrame");
    QTest::addColumn<QVariantMap>("places");
    auto place = [](float left, float top, float width) { return QVariantList{left, top, width}; };
    // The design size, in a frame as wide and tall as the classic desktop's, lays out exactly
    // as the window was designed.
    QTest::newRow("design size") << QSize(3735, 4050) << true
                                 << QVariantMap{{"linTop", place(0, 0, 3735)},
                                                {"cmdAction0", place(210, 3540, 1635)},
                                                {"cmdAction1", place(1890, 3540, 1635)},
                                                {"linBottom", place(0, 3435, 3735)},
                                                {"lblPlease", place(0, 105, 3735)},
                                                {"txtFinal", place(1545, 1170, 2145)},
                                                {"txtStock", place(1545, 675, 2145)},
                                                {"txtDiluentVolume", place(1530, 2835, 2160)},
                                                {"txtStockVolume", place(1530, 2340, 2160)},
                                                {"txtFinalVolume", place(1530, 1665, 2160)},
                                                {"linMedium", place(0, 2205, 3735)}};
    QTest::newRow("larger") << QSize(6015, 4995) << false
                            << QVariantMap{{"linTop", place(0, 0, 6015)},
                                           {"cmdAction0", place(1350, 4485, 1635)},
                                           {"cmdAction1", place(3030, 4485, 1635)},
                                           {"linBottom", place(0, 4380, 6015)},
                                           {"lblPlease", place(0, 105, 6015)},
                                           {"txtFinal", place(1545, 1170, 4425)},
                                           {"txtStock", place(1545, 675, 4425)},
                                           {"txtDiluentVolume", place(1530, 2835, 4440)},
                                           {"txtStockVolume", place(1530, 2340, 4440)},
                                           {"txtFinalVolume", place(1530, 1665, 4440)},
                                           {"linMedium", place(0, 2205, 6015)}};
}

void tst_frmMirvale::layout()
{
    QFETCH(QSize, client);
    QFETCH(bool, classicFrame);
    QFETCH(QVariantMap, places);
    show();
    const int menuHeight = m_form->menuBar()->height();
    // 8 pixels of frame across and 46 down (title bar, menu bar and borders) make the classic
    // desktop's outer size for the designed client area, which is also the smallest allowed.
    if (classicFrame)
        m_form->setContentsMargins(4, 46 - 4 - menuHeight, 4, 4);
    const QMargins margins = m_form->contentsMargins();
    m_form->resize(forms::twipsToPixelsX(client.width()) + margins.left() + margins.right(),
                   forms::twipsToPixelsY(client.height()) + menuHeight + margins.top() +
                       margins.bottom());
    QTRY_COMPARE(m_form->ScaleWidth(), float(client.width()));
    QCOMPARE(m_form->ScaleHeight(), float(client.height()));

    const QStringList labels = {"lblStock", "lblFinal", "Label1", "Label2", "Label3"};
    QList<forms::TwipsRect> labelPlaces;
    for (const QString &name : labels)
        labelPlaces.append(forms::twipsGeometry(m_form->control(name)));

    for (auto it = places.cbegin(); it != places.cend(); ++it) {
        const QString name = it.key();
        QWidget *control = name.startsWith(u"cmdAction")
                               ? m_form->control(QStringLiteral("cmdAction"), name.right(1).toInt())
                               : m_form->control(name);
        const QVariantList expected = it.value().toList();
        const forms::TwipsRect place = forms::twipsGeometry(control);
        QVERIFY2(place.left == expected[0].toFloat() && place.top == expected[1].toFloat() &&
                     place.width == expected[2].toFloat(),
                 qPrintable(QStringLiteral("%1 at %2, %3 width %4")
                                .arg(name)
                                .arg(place.left)
                                .arg(place.top)
                                .arg(place.width)));
    }
    // The separators keep their own height, the labels never move.
    for (const char *name : {"linTop", "linMedium", "linBottom"})
        QCOMPARE(forms::twipsGeometry(m_form->control(name)).height, 60.0f);
    for (qsizetype i = 0; i < labels.size(); ++i)
        QVERIFY(forms::twipsGeometry(m_form->control(labels[i])) == labelPlaces[i]);
}

void tst_frmMirvale::keepsItsMinimumSize_data()
{
    QTest::addColumn<QSize>("requested");
    QTest::addColumn<bool>("narrow");
    QTest::addColumn<bool>("low");
    QTest::newRow("too narrow") << QSize(100, 500) << true << false;
    QTest::newRow("too low") << QSize(400, 100) << false << true;
    QTest::newRow("both") << QSize(10, 10) << true << true;
}

// The outer size springs back to the minimum in each dimension that went below it; the other
// dimension keeps the size asked for.
void tst_frmMirvale::keepsItsMinimumSize()
{
    QFETCH(QSize, requested);
    QFETCH(bool, narrow);
    QFETCH(bool, low);
    show();
    m_form->resize(requested);
    QTest::qWait(20);
    const int minWidth = forms::twipsToPixelsX(frmMirvale::MinimumWidth);
    const int minHeight = forms::twipsToPixelsY(frmMirvale::MinimumHeight);
    if (narrow)
        QTRY_COMPARE(m_form->frameGeometry().width(), minWidth);
    else
        QTRY_COMPARE(m_form->width(), requested.width());
    if (low)
        QTRY_COMPARE(m_form->frameGeometry().height(), minHeight);
    else
        QTRY_COMPARE(m_form->height(), requested.height());
    QCOMPARE(m_form->Width(), std::max(frmMirvale::MinimumWidth, m_form->Width()));
    QCOMPARE(m_form->Height(), std::max(frmMirvale::MinimumHeight, m_form->Height()));
}

void tst_frmMirvale::opensAtItsStoredSize_data()
{
    QTest::addColumn<QSize>("stored");
    // The calculator's own client area is smaller than its minimum outer size allows: it opens
    // at the minimum. A larger one opens at its stored client area below the menu bar.
    QTest::newRow("calculator") << QSize(3735, 4050);
    QTest::newRow("larger") << QSize(6015, 4995);
    QTest::newRow("wider only") << QSize(6015, 3000);
}

// Any definition built into a window opens with its stored client area, the menu bar measured as
// it shows and the frame around it, within the minimum outer size.
void tst_frmMirvale::opensAtItsStoredSize()
{
    QFETCH(QSize, stored);
    QFile file(QStringLiteral(MIRVALE_SOURCE_DIR "/app/frmMirvale.xml"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    forms::FormDefinition definition = forms::readDefinition(file.readAll(), file.fileName());
    definition.settings.WriteProperty(QStringLiteral("ClientWidth"), stored.width());
    definition.settings.WriteProperty(QStringLiteral("ClientHeight"), stored.height());
    forms::Form form;
    form.LoadDefinition(definition, file.fileName());
    form.setMinimumOuterSize(frmMirvale::MinimumWidth, frmMirvale::MinimumHeight);
    form.Show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    const QSize frame = form.frameGeometry().size() - form.size();
    const float frameWidth = forms::pixelsToTwipsX(float(frame.width()));
    const float frameHeight = forms::pixelsToTwipsY(float(frame.height()));
    const float menu = forms::pixelsToTwipsY(float(form.menuBar()->height()));
    const float width = std::max(frmMirvale::MinimumWidth, float(stored.width()) + frameWidth);
    const float height =
        std::max(frmMirvale::MinimumHeight, float(stored.height()) + menu + frameHeight);
    QTRY_COMPARE(form.Width(), width);
    QTRY_COMPARE(form.Height(), height);
    QCOMPARE(form.ScaleWidth(), width - frameWidth);
    QCOMPARE(form.ScaleHeight(), height - frameHeight - menu);
}

void tst_frmMirvale::nothingClippedOrOverlapping_data()
{
    QTest::addColumn<QString>("where");
    QTest::newRow("calculator") << "calculator";
    QTest::newRow("button page") << "page";
}

// Run on scaled screens as well (QT_SCALE_FACTOR 1.5 and 2): every control lies inside its
// window, no two overlap, every label's wrapped caption fits its height and every button's
// caption its width.
void tst_frmMirvale::nothingClippedOrOverlapping()
{
    QFETCH(QString, where);
    std::unique_ptr<ButtonPage> page;
    QWidget *container;
    if (where == u"calculator") {
        show();
        container = m_form->clientArea();
    } else {
        page = std::make_unique<ButtonPage>();
        page->show();
        QVERIFY(QTest::qWaitForWindowExposed(page.get()));
        container = page.get();
    }
    const QList<QWidget *> controls =
        container->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly);
    QVERIFY(controls.size() >= 11);
    for (qsizetype i = 0; i < controls.size(); ++i) {
        const QWidget *a = controls[i];
        const QString name = a->objectName();
        QVERIFY2(container->rect().contains(a->geometry()), qPrintable(name + " sticks out"));
        for (qsizetype j = i + 1; j < controls.size(); ++j) {
            QVERIFY2(!a->geometry().intersects(controls[j]->geometry()),
                     qPrintable(name + " overlaps " + controls[j]->objectName()));
        }
        if (const auto *label = qobject_cast<const QLabel *>(a))
            QVERIFY2(label->heightForWidth(label->width()) <= label->height(),
                     qPrintable(name + " is cut off"));
        if (const auto *button = qobject_cast<const LumoButton *>(a)) {
            const QFontMetrics metrics(button->Font().toQFont());
            QString caption = button->Caption();
            caption.remove(u'&');
            const int picture = button->Picture().image().width();
            QVERIFY2(metrics.horizontalAdvance(caption) + picture < button->width(),
                     qPrintable(name + " is cut off"));
        }
    }
}

void tst_frmMirvale::minimisedWindowIsNotLaidOut()
{
    show();
    QWidget *stock = m_form->control("txtStock");
    const forms::TwipsRect before = forms::twipsGeometry(stock);
    m_form->showMinimized();
    QTRY_COMPARE(m_form->WindowState(), 1);
    // A stale place survives while minimised and is corrected on restoring.
    forms::moveControl(stock, before.left, before.top, 300);
    m_form->resize(m_form->size() + QSize(30, 0));
    QTest::qWait(20);
    QCOMPARE(forms::twipsGeometry(stock).width, 300.0f);
    m_form->showNormal();
    QTRY_COMPARE(m_form->WindowState(), 0);
    QTRY_COMPARE(forms::twipsGeometry(stock).width, m_form->ScaleWidth() - before.left - 45);
}

QTEST_MAIN(tst_frmMirvale)
#include "tst_frmmirvale.moc"
