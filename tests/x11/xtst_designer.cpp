// The designer under a real X server with real X input: a click selects a button, F4 opens its
// property pages, and an edit on the Button page reaches the button.
#include "application.h"
#include "buttonpage.h"
#include "designerwindow.h"
#include "designsurface.h"
#include "form.h"
#include "lumobutton.h"
#include "propertypagehost.h"
#include "standardpages.h"
#include "x11/x11tools.h"

#include <QDir>
#include <QLineEdit>
#include <QProcess>
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
    SetUpApplication();
    forms::registerStandardPages();
    registerButtonPage();
    QTemporaryDir dir;
    const QString copy = dir.filePath(QStringLiteral("frmMirvale.xml"));
    QVERIFY(QFile::copy(QStringLiteral(MIRVALE_SOURCE_DIR "/app/frmMirvale.xml"), copy));
    QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner);

    DesignerWindow window;
    QVERIFY(window.open(copy));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.activateWindow();
    QTest::qWait(300);

    auto *calculate = window.surface()->form()->control<LumoButton>(QStringLiteral("cmdAction"), 0);
    const QPoint centre = calculate->mapToGlobal(calculate->rect().center());
    xdotool({"mousemove", "--sync", QString::number(centre.x()), QString::number(centre.y())});
    xdotool({"click", "1"});
    QTRY_COMPARE(window.surface()->selection(), QList<QWidget *>{calculate});
    QVERIFY(!calculate->Value());

    bool pageSeen = false;
    QTimer::singleShot(500, this, [&] {
        auto *host = qobject_cast<forms::PropertyPageHost *>(QApplication::activeModalWidget());
        if (!host)
            return;
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
    xdotool({"key", "F4"});
    QTRY_VERIFY_WITH_TIMEOUT(pageSeen, 5000);
    QTRY_COMPARE(calculate->Caption(), QStringLiteral("Calculate"));
    QVERIFY(window.isWindowModified());
    QVERIFY(window.save());
    window.close();
}

QTEST_MAIN(xtst_Designer)
#include "xtst_designer.moc"
