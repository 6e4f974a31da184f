// The designer under a real X server with real X input: a click in the object list selects on the
// surface, a drag lands on the grid, keys stay out of the designed window, Alt+F opens the
// designer's menu, a click selects a button, F4 opens its property pages, and an edit on the
// Button page reaches the button.
#include "buttonpage.h"
#include "designerwindow.h"
#include "designsurface.h"
#include "form.h"
#include "lumobutton.h"
#include "objectlist.h"
#include "programsetup.h"
#include "propertypagehost.h"
#include "standardpages.h"
#include "x11/x11tools.h"

#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QSettings>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

class xtst_Designer : public QObject
{
    Q_OBJECT

private slots:
    void selectAndEditWithRealInput();
};

void xtst_Designer::selectAndEditWithRealInput()
{
    setUpProgram(QStringLiteral("mirvale-designer"));
    forms::registerStandardPages();
    registerButtonPage();
    QTemporaryDir dir;
    // The recent-files list goes to a settings file of the test's own.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.filePath("settings"));
    qputenv("XDG_STATE_HOME", dir.filePath("state").toLocal8Bit());
    const QString copy = dir.filePath(QStringLiteral("frmMirvale.xml"));
    QVERIFY(QFile::copy(QStringLiteral(MIRVALE_SOURCE_DIR "/app/frmMirvale.xml"), copy));
    QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner);

    DesignerWindow window;
    QVERIFY(window.open(copy));
    window.resize(960, 620);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));

    // The object list selects on the surface.
    forms::Form *designed = window.surface()->form();
    QWidget *stock = designed->control(QStringLiteral("txtStock"));
    ObjectList *list = window.objectList();
    const auto rows = list->findItems(QStringLiteral("txtStock"), Qt::MatchExactly);
    QCOMPARE(rows.size(), 1);
    const QPoint row = list->viewport()->mapToGlobal(list->visualItemRect(rows.first()).center());
    xdotool({"mousemove", "--sync", QString::number(row.x()), QString::number(row.y())});
    xdotool({"click", "1"});
    QTRY_COMPARE(window.surface()->selection(), QList<QWidget *>{stock});

    // A drag of the selected field lands on the grid.
    const QPoint from = stock->mapToGlobal(stock->rect().center());
    xdotool({"mousemove", "--sync", QString::number(from.x()), QString::number(from.y())});
    xdotool({"mousedown", "1"});
    for (int step = 1; step <= 4; ++step)
        xdotool({"mousemove", "--sync", QString::number(from.x() + 9 * step),
                 QString::number(from.y() + 5 * step)});
    xdotool({"mouseup", "1"});
    QTRY_VERIFY(forms::twipsGeometry(stock).left != 1545);
    QCOMPARE(std::fmod(forms::twipsGeometry(stock).left, 120.0f), 0.0f);
    QCOMPARE(std::fmod(forms::twipsGeometry(stock).top, 120.0f), 0.0f);

    // Keys go to the designer: typed text stays out of the field, Tab moves the selection, and
    // Alt+F opens the designer's own File menu.
    xdotool({"type", "--delay", "20", "12"});
    xdotool({"key", "Tab"});
    QTRY_COMPARE(window.surface()->selection(),
                 QList<QWidget *>{designed->control(QStringLiteral("txtFinal"))});
    QCOMPARE(qobject_cast<QLineEdit *>(stock)->text(), QString());
    xdotool({"key", "alt+f"});
    QTRY_VERIFY(qobject_cast<QMenu *>(QApplication::activePopupWidget()));
    QCOMPARE(QApplication::activePopupWidget()->parentWidget(), window.menuBar());
    xdotool({"key", "Escape"});
    QTRY_VERIFY(!QApplication::activePopupWidget());
    xdotool({"key", "ctrl+z"});
    QTRY_COMPARE(
        forms::twipsGeometry(window.surface()->form()->control(QStringLiteral("txtStock"))).left,
        1545.0f);

    auto *calculate = window.surface()->form()->control<LumoButton>(QStringLiteral("cmdAction"), 0);
    window.activateWindow();
    const QPoint centre = calculate->mapToGlobal(calculate->rect().center());
    xdotool({"mousemove", "--sync", QString::number(centre.x()), QString::number(centre.y())});
    xdotool({"click", "1"});
    QTRY_COMPARE(window.surface()->selection(), QList<QWidget *>{calculate});
    QVERIFY(!calculate->Value());

    // The pages open in a modal loop of their own: a timer looks for them until they are up.
    bool pageSeen = false;
    QTimer lookForPages;
    lookForPages.setInterval(50);
    connect(&lookForPages, &QTimer::timeout, this, [&] {
        auto *host = qobject_cast<forms::PropertyPageHost *>(QApplication::activeModalWidget());
        if (!host || !host->isVisible())
            return;
        lookForPages.stop();
        forms::PropertyPage *page = host->page(QStringLiteral("Button"));
        host->findChild<QTabWidget *>()->setCurrentWidget(page);
        page->findChild<QLineEdit *>(QStringLiteral("txtCaption"))
            ->setText(QStringLiteral("Calculate"));
        QTimer::singleShot(300, this, [&, host] {
            screenshot(window.frameGeometry().united(host->frameGeometry()),
                       QStringLiteral("designer.png"));
            pageSeen = true;
            host->accept();
        });
    });
    lookForPages.start();
    xdotool({"key", "F4"});
    QTRY_VERIFY_WITH_TIMEOUT(pageSeen, 10000);
    QTRY_COMPARE(calculate->Caption(), QStringLiteral("Calculate"));
    QVERIFY(window.isWindowModified());
    QVERIFY(window.save());
    window.close();
}

QTEST_MAIN(xtst_Designer)
#include "xtst_designer.moc"
