#include "application.h"
#include "buttonpage.h"
#include "designerwindow.h"
#include "designsurface.h"
#include "form.h"
#include "formdefinition.h"
#include "lumobutton.h"
#include "messageboxwatcher.h"
#include "picturebox.h"
#include "propertypagehost.h"
#include "standardpages.h"

#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString AppDefinition = QStringLiteral(MIRVALE_SOURCE_DIR "/app/frmMirvale.xml");

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

forms::FormDefinition readBack(const QString &path)
{
    return forms::readDefinition(contents(path), path);
}

const forms::ControlDefinition *find(const forms::FormDefinition &d, const QString &name,
                                     int index = -1)
{
    for (const auto &control : d.controls)
        if (control.name == name && control.index == index)
            return &control;
    return nullptr;
}

} // namespace

class tst_Designer : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void untouchedSaveIsEqualInContent();
    void pageEditsAreSavedAndReopened();
    void controlsDoNotReactWhileDesigned();
    void everyPropertyChangeMarksUnsaved();
    void insertedButtonStoresOnlyItsNonDefaults();
    void insertedBorderStoresOnlyItsExtent();
    void deleteAndMove();
    void unreadableDefinitionKeepsTheDesignerRunning_data();
    void unreadableDefinitionKeepsTheDesignerRunning();
    void failedSaveLeavesTheFileAlone();
    void unstorableCaptionLeavesTheFileAlone();

private:
    LumoButton *button(int index) const
    {
        return m_window->surface()->form()->control<LumoButton>("cmdAction", index);
    }

    QTemporaryDir m_dir;
    QString m_copy;
    std::unique_ptr<DesignerWindow> m_window;
};

void tst_Designer::initTestCase()
{
    SetUpApplication();
    forms::registerStandardPages();
    registerButtonPage();
    QVERIFY(m_dir.isValid());
}

void tst_Designer::init()
{
    m_copy = m_dir.filePath(QStringLiteral("frmMirvale.xml"));
    QFile::remove(m_copy);
    QVERIFY(QFile::copy(AppDefinition, m_copy));
    QFile::setPermissions(m_copy, QFile::ReadOwner | QFile::WriteOwner);
    m_window = std::make_unique<DesignerWindow>();
    QVERIFY(m_window->open(m_copy));
    m_window->show();
}

void tst_Designer::cleanup()
{
    m_window->surface()->setModified(false);
    m_window.reset();
}

void tst_Designer::untouchedSaveIsEqualInContent()
{
    QVERIFY(!m_window->isWindowModified());
    QVERIFY(m_window->save());
    QCOMPARE(contents(m_copy), contents(AppDefinition));
}

void tst_Designer::pageEditsAreSavedAndReopened()
{
    DesignSurface *surface = m_window->surface();
    surface->select(button(0));
    std::unique_ptr<forms::PropertyPageHost> host(m_window->createPropertyPages());
    QVERIFY(host);
    forms::PropertyPage *page = host->page("Button");
    page->findChild<QLineEdit *>("txtCaption")->setText("Compute");
    page->findChild<QLineEdit *>("txtAlignment")->setText("2");
    page->findChild<QCheckBox *>("chkSwitch")->setCheckState(Qt::Checked);
    QVERIFY(host->applyChanges());
    QVERIFY(m_window->isWindowModified());
    QVERIFY(m_window->windowTitle().contains("frmMirvale.xml"));
    QVERIFY(m_window->save());
    QVERIFY(!m_window->isWindowModified());

    QVERIFY(m_window->open(m_copy));
    QCOMPARE(button(0)->Caption(), QStringLiteral("Compute"));
    QCOMPARE(button(0)->Alignment(), qint16(2));
    QVERIFY(button(0)->Switch());
    QCOMPARE(button(1)->Caption(), QStringLiteral("&Exit"));
    // Only those entries changed in the file.
    const forms::FormDefinition saved = readBack(m_copy);
    const forms::PropertyBag &bag = find(saved, "cmdAction", 0)->properties;
    QCOMPARE(bag.ReadProperty("caption").toString(), QStringLiteral("Compute"));
    QCOMPARE(bag.ReadProperty("alignment").toInt(), 2);
    QCOMPARE(bag.ReadProperty("switch"), QVariant(true));
    QVERIFY(!bag.contains("value"));
}

// Designed controls draw but do not react: a click selects the button and clicks nothing.
void tst_Designer::controlsDoNotReactWhileDesigned()
{
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    LumoButton *calculate = button(0);
    QVERIFY(!calculate->UserMode());
    QSignalSpy clicks(calculate, &LumoButton::Click);
    QSignalSpy enters(calculate, &LumoButton::MouseEnter);
    auto *face = calculate->findChild<forms::PictureBox *>("picButton");
    const QPoint centre = face->mapTo(m_window.get(), face->rect().center());
    QWidget *under = m_window->childAt(centre);
    QVERIFY(under);
    QTest::mouseClick(under, Qt::LeftButton, {}, under->mapFrom(m_window.get(), centre));
    QVERIFY(clicks.isEmpty());
    QVERIFY(enters.isEmpty());
    QVERIFY(!calculate->Value());
    QCOMPARE(m_window->surface()->selection(), QList<QWidget *>{calculate});
    // A design-time-only property may be set while designing.
    calculate->setShift(30);
    QCOMPARE(calculate->Shift(), qint16(30));
}

void tst_Designer::everyPropertyChangeMarksUnsaved()
{
    QSignalSpy modified(m_window->surface(), &DesignSurface::modifiedChanged);
    button(1)->setForeColorPressed(0xFF);
    QVERIFY(m_window->isWindowModified());
    QVERIFY(m_window->windowTitle().contains("[*]") || m_window->windowTitle().contains("*"));
    QVERIFY(m_window->save());
    QVERIFY(!m_window->isWindowModified());
    const forms::FormDefinition saved = readBack(m_copy);
    QCOMPARE(find(saved, "cmdAction", 1)->properties.ReadProperty("forecolorpressed").toUInt(),
             0xFFu);
    QCOMPARE(modified.size(), 2);
}

void tst_Designer::insertedButtonStoresOnlyItsNonDefaults()
{
    QWidget *inserted = m_window->surface()->insertControl("Mirvale.LumoButton");
    QVERIFY(inserted);
    auto *button = qobject_cast<LumoButton *>(inserted);
    QCOMPARE(button->Caption(), QStringLiteral("LumoButton"));
    QCOMPARE(button->ToolTipText(), QStringLiteral("this is the test"));
    QCOMPARE(m_window->surface()->selection(), QList<QWidget *>{inserted});
    QVERIFY(m_window->isWindowModified());
    QVERIFY(m_window->save());
    const forms::FormDefinition saved = readBack(m_copy);
    const forms::ControlDefinition *stored = find(saved, inserted->objectName());
    QVERIFY(stored);
    QCOMPARE(stored->className, QStringLiteral("Mirvale.LumoButton"));
    QStringList names;
    for (const auto &entry : stored->properties.entries())
        names.append(entry.name);
    QCOMPARE(names,
             QStringList({"_extentx", "_extenty", "autoredraw", "forecolor", "tooltiptext"}));
    QCOMPARE(stored->properties.ReadProperty("forecolor").toUInt(), 0x80000008u);
    QCOMPARE(stored->properties.ReadProperty("tooltiptext").toString(),
             QStringLiteral("this is the test"));
}

void tst_Designer::insertedBorderStoresOnlyItsExtent()
{
    QWidget *inserted = m_window->surface()->insertControl("Mirvale.Border");
    QVERIFY(inserted);
    QVERIFY(m_window->save());
    const forms::FormDefinition saved = readBack(m_copy);
    const forms::ControlDefinition *stored = find(saved, inserted->objectName());
    QVERIFY(stored);
    QCOMPARE(stored->rect.height, 60.0f);
    QCOMPARE(stored->properties.entries().size(), 2);
}

void tst_Designer::deleteAndMove()
{
    DesignSurface *surface = m_window->surface();
    QWidget *label = surface->form()->control("Label3");
    surface->select(label);
    const float left = forms::twipsGeometry(label).left;
    surface->nudgeSelection(2, 0);
    QCOMPARE(forms::twipsGeometry(label).left, left + 30);
    surface->select(button(1));
    surface->deleteSelection();
    QVERIFY(m_window->save());
    const forms::FormDefinition saved = readBack(m_copy);
    QVERIFY(!find(saved, "cmdAction", 1));
    QVERIFY(find(saved, "cmdAction", 0));
    QCOMPARE(find(saved, "Label3")->rect.left, left + 30);
}

void tst_Designer::unreadableDefinitionKeepsTheDesignerRunning_data()
{
    QTest::addColumn<QByteArray>("xml");
    QTest::addColumn<QString>("mention");
    QTest::newRow("broken xml") << QByteArray("<window name=\"w\">\n<control") << ":2:";
    QTest::newRow("bad entry") << QByteArray(
                                      "<window name=\"w\">\n<control class=\"Mirvale.LumoButton\" "
                                      "name=\"b\" left=\"0\" top=\"0\" width=\"9\" height=\"9\" "
                                      "tabindex=\"0\">\n<property name=\"delta\" "
                                      "type=\"string\">abc</property></control></window>")
                               << "entry 'Delta'";
    QTest::newRow("missing file") << QByteArray() << "cannot be opened";
}

void tst_Designer::unreadableDefinitionKeepsTheDesignerRunning()
{
    QFETCH(QByteArray, xml);
    QFETCH(QString, mention);
    const QString path = m_dir.filePath(QStringLiteral("broken.xml"));
    QFile::remove(path);
    if (!xml.isEmpty()) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(xml);
    }
    MessageBoxWatcher watcher;
    QVERIFY(!m_window->open(path));
    QCOMPARE(watcher.boxes.size(), 1);
    QVERIFY2(watcher.boxes[0].text.contains(path), qPrintable(watcher.boxes[0].text));
    QVERIFY2(watcher.boxes[0].text.contains(mention), qPrintable(watcher.boxes[0].text));
    // The window that was open stays open and can still be saved.
    QCOMPARE(m_window->path(), m_copy);
    QVERIFY(button(0));
    QVERIFY(m_window->save());
    QCOMPARE(contents(m_copy), contents(AppDefinition));
}

void tst_Designer::failedSaveLeavesTheFileAlone()
{
    button(0)->setCaption("unsaved");
    MessageBoxWatcher watcher;
    // A folder where the file should be: the save cannot complete.
    const QString blocked = m_dir.filePath(QStringLiteral("blocked"));
    QVERIFY(QDir().mkpath(blocked));
    QVERIFY(!m_window->saveAs(blocked));
    QCOMPARE(watcher.boxes.size(), 1);
    QVERIFY(m_window->isWindowModified());
    QCOMPARE(m_window->path(), m_copy);
    QCOMPARE(contents(m_copy), contents(AppDefinition));
    QVERIFY(QFileInfo(blocked).isDir());
}

void tst_Designer::unstorableCaptionLeavesTheFileAlone()
{
    button(0)->setCaption(QStringLiteral("Calc\u0007ulate"));
    MessageBoxWatcher watcher;
    QVERIFY(!m_window->save());
    QCOMPARE(watcher.boxes.size(), 1);
    QVERIFY2(watcher.boxes[0].text.contains("cmdAction(0)"), qPrintable(watcher.boxes[0].text));
    QCOMPARE(contents(m_copy), contents(AppDefinition));
    QVERIFY(m_window->isWindowModified());
}

QTEST_MAIN(tst_Designer)
#include "tst_designer.moc"
