// The Qt Designer plugin: Qt's plugin loader finds both widgets in it, and a Designer core that
// loaded it offers their properties in Designer's own types, writes edited ones into the form,
// keeps its forms in design mode and previews them running.

#include "border.h"
#include "lumobutton.h"
#include "lumobuttonproperties.h"

#include <QtDesigner/QDesignerComponents>
#include <QtDesigner/QDesignerFormEditorInterface>
#include <QtDesigner/QDesignerFormWindowInterface>
#include <QtDesigner/QDesignerFormWindowManagerInterface>
#include <QtDesigner/QDesignerIntegration>
#include <QtDesigner/QDesignerPropertyEditorInterface>
#include <QtDesigner/QDesignerPropertySheetExtension>
#include <QtDesigner/QDesignerWidgetDataBaseInterface>
#include <QtDesigner/QExtensionManager>
#include <QtUiPlugin/QDesignerCustomWidgetCollectionInterface>

#include <QApplication>
#include <QDomDocument>
#include <QPluginLoader>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include <memory>

namespace {

// The build tree's plugin, or another one named in the environment (the installed one, when the
// package is checked).
const QString PluginFile =
    qEnvironmentVariable("MIRVALE_DESIGNER_PLUGIN", QStringLiteral(MIRVALE_DESIGNER_PLUGIN));

// A form with one of each control, as Designer writes it.
QString formWith(const QString &buttonProperties, const QString &borderProperties = {})
{
    return QStringLiteral(R"(<?xml version="1.0" encoding="UTF-8"?>
<ui version="4.0">
 <class>Form</class>
 <widget class="QWidget" name="Form">
  <property name="geometry"><rect><x>0</x><y>0</y><width>240</width><height>90</height></rect></property>
  <widget class="LumoButton" name="button">
   <property name="geometry"><rect><x>10</x><y>10</y><width>109</width><height>31</height></rect></property>
   %1
  </widget>
  <widget class="Border" name="line">
   <property name="geometry"><rect><x>10</x><y>60</y><width>200</width><height>4</height></rect></property>
   %2
  </widget>
 </widget>
 <customwidgets>
  <customwidget><class>LumoButton</class><extends>QWidget</extends><header>lumobutton.h</header></customwidget>
  <customwidget><class>Border</class><extends>QWidget</extends><header>border.h</header></customwidget>
 </customwidgets>
 <resources/>
 <connections/>
</ui>
)")
        .arg(buttonProperties, borderProperties);
}

// The properties Designer stores for the widget of this name in a form's contents.
QStringList storedProperties(const QString &contents, const QString &widget)
{
    QDomDocument document;
    if (!document.setContent(contents))
        return {QStringLiteral("(unreadable form)")};
    QStringList names;
    const QDomNodeList widgets = document.elementsByTagName(QStringLiteral("widget"));
    for (int i = 0; i < widgets.count(); ++i) {
        const QDomElement element = widgets.at(i).toElement();
        if (element.attribute(QStringLiteral("name")) != widget)
            continue;
        for (QDomElement p = element.firstChildElement(QStringLiteral("property")); !p.isNull();
             p = p.nextSiblingElement(QStringLiteral("property")))
            names << p.attribute(QStringLiteral("name"));
    }
    return names;
}

} // namespace

class tst_DesignerPlugin : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void offersBothWidgets_data();
    void offersBothWidgets();
    void newButtonFromWidgetBox_data();
    void newButtonFromWidgetBox();
    void designerOffersProperties_data();
    void designerOffersProperties();
    void editedViewsAreWrittenAndRead_data();
    void editedViewsAreWrittenAndRead();
    void formsAreDesignedPreviewsRun();

private:
    QDesignerFormWindowInterface *newForm(const QString &contents);
    static QWidget *controlIn(QDesignerFormWindowInterface *form, const char *name);
    QDesignerPropertySheetExtension *sheetOf(QObject *object) const;

    QDesignerFormEditorInterface *m_core = nullptr;
    std::unique_ptr<QWidget> m_host;
};

void tst_DesignerPlugin::initTestCase()
{
    // Designer looks in the "designer" folder of every plugin path.
    QCoreApplication::addLibraryPath(QFileInfo(PluginFile).absolutePath() + QStringLiteral("/.."));
    m_host = std::make_unique<QWidget>();
    m_core = QDesignerComponents::createFormEditor(nullptr);
    QDesignerComponents::initializeResources();
    QDesignerComponents::initializePlugins(m_core);
    m_core->setWidgetBox(QDesignerComponents::createWidgetBox(m_core, m_host.get()));
    m_core->setPropertyEditor(QDesignerComponents::createPropertyEditor(m_core, m_host.get()));
    if (!m_core->integration())
        m_core->setIntegration(new QDesignerIntegration(m_core, m_host.get()));
}

void tst_DesignerPlugin::cleanupTestCase()
{
    // Designer's panes go before the core they use.
    m_host.reset();
    delete m_core;
}

QDesignerFormWindowInterface *tst_DesignerPlugin::newForm(const QString &contents)
{
    QDesignerFormWindowInterface *form =
        m_core->formWindowManager()->createFormWindow(m_host.get());
    form->setContents(contents);
    m_core->formWindowManager()->setActiveFormWindow(form);
    return form;
}

// The plugin carries its own copy of the controls' classes, so its widgets are found by name.
QWidget *tst_DesignerPlugin::controlIn(QDesignerFormWindowInterface *form, const char *name)
{
    return form->mainContainer()->findChild<QWidget *>(QString::fromLatin1(name));
}

QDesignerPropertySheetExtension *tst_DesignerPlugin::sheetOf(QObject *object) const
{
    return qt_extension<QDesignerPropertySheetExtension *>(m_core->extensionManager(), object);
}

void tst_DesignerPlugin::offersBothWidgets_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("include");
    QTest::newRow("LumoButton") << "LumoButton"
                                << "lumobutton.h";
    QTest::newRow("Border") << "Border"
                            << "border.h";
}

// What Qt's plugin loader finds in the built plugin, and what Designer made of it.
void tst_DesignerPlugin::offersBothWidgets()
{
    QFETCH(QString, name);
    QFETCH(QString, include);

    QPluginLoader loader(PluginFile);
    QVERIFY2(loader.load(), qPrintable(loader.errorString()));
    auto *collection = qobject_cast<QDesignerCustomWidgetCollectionInterface *>(loader.instance());
    QVERIFY(collection);
    QDesignerCustomWidgetInterface *widget = nullptr;
    QStringList offered;
    for (QDesignerCustomWidgetInterface *candidate : collection->customWidgets()) {
        offered << candidate->name();
        if (candidate->name() == name)
            widget = candidate;
    }
    QCOMPARE(offered, QStringList({"LumoButton", "Border"}));
    QVERIFY(widget);
    QCOMPARE(widget->group(), QStringLiteral("Mirvale"));
    QCOMPARE(widget->includeFile(), include);
    QVERIFY(!widget->icon().isNull());
    QVERIFY(!widget->toolTip().isEmpty());
    QVERIFY(!widget->isContainer());

    QDomDocument dom;
    QVERIFY(dom.setContent(widget->domXml()));
    QCOMPARE(dom.documentElement().firstChildElement(QStringLiteral("widget")).attribute("class"),
             name);

    QWidget parent;
    std::unique_ptr<QWidget> created(widget->createWidget(&parent));
    QVERIFY(created);
    QCOMPARE(created->metaObject()->className(), name.toLatin1());

    const QDesignerWidgetDataBaseInterface *database = m_core->widgetDataBase();
    const int item = database->indexOfClassName(name);
    QVERIFY2(item >= 0, "Designer did not load the plugin");
    QCOMPARE(database->item(item)->group(), QStringLiteral("Mirvale"));
    QCOMPARE(database->item(item)->includeFile(), include);
}

void tst_DesignerPlugin::newButtonFromWidgetBox_data()
{
    QTest::addColumn<QString>("property");
    // The stored set but the three fonts, which a new button takes from its container, and
    // AutoRedraw, which only its surface has.
    for (const LumoButtonProperty &stored : LumoButtonProperties::all()) {
        if (stored.kind != LumoButtonProperty::Kind::Font &&
            LumoButton::staticMetaObject.indexOfProperty(stored.name) >= 0)
            QTest::newRow(stored.name) << QString::fromLatin1(stored.name);
    }
}

// A button dragged from the widget box, as Designer builds it from the plugin's description,
// holds what a newly placed button holds.
void tst_DesignerPlugin::newButtonFromWidgetBox()
{
    QFETCH(QString, property);

    QPluginLoader loader(PluginFile);
    auto *collection = qobject_cast<QDesignerCustomWidgetCollectionInterface *>(loader.instance());
    QVERIFY(collection);
    const QString description = collection->customWidgets().at(0)->domXml();
    const qsizetype from = description.indexOf(QStringLiteral("<widget"));
    const qsizetype to = description.lastIndexOf(QStringLiteral("</widget>")) + 9;
    QString contents = formWith({});
    contents.insert(contents.indexOf(QStringLiteral(" </widget>\n <customwidgets>")),
                    description.mid(from, to - from) + u'\n');
    QDesignerFormWindowInterface *form = newForm(contents);
    QWidget *dropped = controlIn(form, "lumoButton");
    QVERIFY(dropped);

    QWidget container;
    LumoButton placed(&container);
    placed.InitProperties();
    const QByteArray name = property.toLatin1();
    const QVariant expected = placed.property(name);
    const QVariant actual = dropped->property(name);
    if (expected.metaType() == QMetaType::fromType<forms::StdPicture>())
        QCOMPARE(actual.value<forms::StdPicture>().isNull(),
                 expected.value<forms::StdPicture>().isNull());
    else
        QCOMPARE(actual, expected);
    delete form;
}

void tst_DesignerPlugin::designerOffersProperties_data()
{
    QTest::addColumn<QString>("widget");
    QTest::addColumn<QString>("property");
    QTest::addColumn<int>("type"); // its type; Void: Designer does not offer it

    const int color = QMetaType::QColor, font = QMetaType::QFont, pixmap = QMetaType::QPixmap;
    const int text = QMetaType::QString, integer = QMetaType::Int, boolean = QMetaType::Bool;
    const QList<std::pair<const char *, int>> button = {
        {"Caption", text},
        {"ToolTipText", text},
        {"Value", boolean},
        {"qtDelta", integer},
        {"qtAlignment", integer},
        {"qtSwitch", boolean},
        {"qtShift", integer},
        {"qtBackColor", color},
        {"qtForeColor", color},
        {"qtLightBorderColor", color},
        {"qtDarkBorderColor", color},
        {"qtForeColorSelected", color},
        {"qtForeColorPressed", color},
        {"qtFont", font},
        {"qtFontSelected", font},
        {"qtFontPressed", font},
        {"qtPicture", pixmap},
        {"qtSelectedPicture", pixmap},
        {"qtPressedPicture", pixmap},
        // The colour values themselves stay in reach, for the desktop's system colours.
        {"BackColor", QMetaType::UInt},
        {"DarkBorderColor", QMetaType::UInt},
        // Settable only while designing: a form would set them on a running button.
        {"Switch", QMetaType::Void},
        {"Alignment", QMetaType::Void},
        {"Shift", QMetaType::Void},
    };
    for (const auto &[name, type] : button)
        QTest::addRow("LumoButton %s", name) << "LumoButton" << name << type;
    for (const char *name : {"qtDarkColor", "qtLightColor"})
        QTest::addRow("Border %s", name) << "Border" << name << color;
    QTest::addRow("Border DarkColor") << "Border"
                                      << "DarkColor" << int(QMetaType::UInt);
}

// What Designer's property editor lists for a placed control, and the type it edits.
void tst_DesignerPlugin::designerOffersProperties()
{
    QFETCH(QString, widget);
    QFETCH(QString, property);
    QFETCH(int, type);

    QDesignerFormWindowInterface *form = newForm(formWith({}));
    QWidget *control = form->mainContainer()->findChild<QWidget *>(
        widget == QLatin1String("Border") ? QStringLiteral("line") : QStringLiteral("button"));
    QVERIFY(control);
    QCOMPARE(control->metaObject()->className(), widget.toLatin1());
    m_core->propertyEditor()->setObject(control);
    QStringList listed;
    for (const QTreeWidget *tree : m_core->propertyEditor()->findChildren<QTreeWidget *>()) {
        for (QTreeWidgetItemIterator item(const_cast<QTreeWidget *>(tree)); *item; ++item)
            listed << (*item)->text(0);
    }
    QVERIFY(listed.contains(QStringLiteral("objectName")));
    QCOMPARE(listed.contains(property), type != QMetaType::Void);
    if (type != QMetaType::Void) {
        const QMetaObject *meta = control->metaObject();
        QCOMPARE(meta->property(meta->indexOfProperty(qPrintable(property))).metaType().id(), type);
    }
    m_core->propertyEditor()->setObject(nullptr);
    delete form;
}

void tst_DesignerPlugin::editedViewsAreWrittenAndRead_data()
{
    QTest::addColumn<QString>("view");
    QTest::addColumn<QVariant>("edited");
    QTest::addColumn<QString>("stored"); // the stored property that must carry the edit
    QTest::addColumn<QVariant>("expected");

    QTest::newRow("qtBackColor") << "qtBackColor" << QVariant(QColor(0x11, 0x22, 0x33))
                                 << "BackColor" << QVariant::fromValue<quint32>(0x332211);
    QTest::newRow("qtForeColorPressed")
        << "qtForeColorPressed" << QVariant(QColor(Qt::red)) << "ForeColorPressed"
        << QVariant::fromValue<quint32>(0x0000FF);
    QTest::newRow("qtDelta") << "qtDelta" << QVariant(90) << "Delta"
                             << QVariant::fromValue<qint16>(90);
    QTest::newRow("qtDelta beyond 16 bits")
        << "qtDelta" << QVariant(100000) << "Delta" << QVariant::fromValue<qint16>(32767);
    QTest::newRow("qtAlignment") << "qtAlignment" << QVariant(2) << "Alignment"
                                 << QVariant::fromValue<qint16>(2);
    QTest::newRow("qtShift") << "qtShift" << QVariant(30) << "Shift"
                             << QVariant::fromValue<qint16>(30);
    QTest::newRow("qtSwitch") << "qtSwitch" << QVariant(true) << "Switch" << QVariant(true);
    QFont font(QStringLiteral("DejaVu Serif"));
    font.setPointSize(14);
    font.setItalic(true);
    QTest::newRow("qtFontSelected") << "qtFontSelected" << QVariant(font) << "FontSelected"
                                    << QVariant::fromValue(forms::StdFont::fromQFont(font));
}

// An edit in Designer's property editor reaches the control's stored property, goes into the
// form's contents under the view's name, and comes back when the form is opened again.
void tst_DesignerPlugin::editedViewsAreWrittenAndRead()
{
    QFETCH(QString, view);
    QFETCH(QVariant, edited);
    QFETCH(QString, stored);
    QFETCH(QVariant, expected);

    auto storedValue = [&](QObject *control) {
        return control->property(stored.toLatin1().constData());
    };

    QDesignerFormWindowInterface *form = newForm(formWith({}));
    QWidget *button = controlIn(form, "button");
    QVERIFY(button);
    QDesignerPropertySheetExtension *sheet = sheetOf(button);
    const int index = sheet->indexOf(view);
    QVERIFY(index >= 0);
    sheet->setProperty(index, edited);
    sheet->setChanged(index, true);
    QCOMPARE(storedValue(button), expected);

    const QString contents = form->contents();
    const QStringList written = storedProperties(contents, QStringLiteral("button"));
    QVERIFY2(written.contains(view), qPrintable(contents));
    // Only the control's own properties: no bookkeeping of the runtime's goes into the form.
    for (const QString &name : written)
        QVERIFY2(button->metaObject()->indexOfProperty(qPrintable(name)) >= 0, qPrintable(name));
    delete form;

    QDesignerFormWindowInterface *reopened = newForm(contents);
    QWidget *again = controlIn(reopened, "button");
    QVERIFY(again);
    QCOMPARE(storedValue(again), expected);
    delete reopened;
}

// Inside Designer's form editor the controls are being designed; the preview of the same form
// runs them, and builds them with the values that only a designed button accepts.
void tst_DesignerPlugin::formsAreDesignedPreviewsRun()
{
    // Designer stores a picture as the file it was chosen from.
    QTemporaryDir folder;
    const QString pictureFile = folder.filePath(QStringLiteral("picture.png"));
    QImage picture(12, 10, QImage::Format_RGB32);
    picture.fill(Qt::green);
    QVERIFY(picture.save(pictureFile));

    QDesignerFormWindowInterface *form = newForm(
        formWith(QStringLiteral(R"(<property name="qtAlignment"><number>2</number></property>
   <property name="qtSwitch"><bool>true</bool></property>
   <property name="qtShift"><number>30</number></property>
   <property name="qtPicture"><pixmap>%1</pixmap></property>)")
                     .arg(pictureFile),
                 QStringLiteral(R"(<property name="qtDarkColor">
    <color><red>255</red><green>0</green><blue>0</blue></color></property>)")));
    QWidget *button = controlIn(form, "button");
    QWidget *line = controlIn(form, "line");
    QVERIFY(button);
    QVERIFY(line);
    QCOMPARE(button->property("Alignment").value<qint16>(), qint16(2));
    QVERIFY(button->property("Switch").toBool());
    QCOMPARE(button->property("Shift").value<qint16>(), qint16(30));
    QCOMPARE(line->property("DarkColor").value<quint32>(), 0x0000FFu);
    QCOMPARE(button->property("Picture").value<forms::StdPicture>().size(), QSize(12, 10));
    // What a control placed beside them sees.
    const auto *beside = new LumoButton(button->parentWidget());
    QVERIFY(!beside->UserMode());

    // The preview is built from the form as uic would build it, with running controls.
    const QPixmap preview = m_core->formWindowManager()->createPreviewPixmap();
    QVERIFY(!preview.isNull());
    const QImage image = preview.toImage();
    const QRgb red = qRgb(255, 0, 0), green = qRgb(0, 255, 0);
    int redPixels = 0, greenPixels = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            redPixels += image.pixel(x, y) == red;
            greenPixels += image.pixel(x, y) == green;
        }
    }
    // The separator's dark line across its 200 pixels, and the button's whole picture.
    QCOMPARE(redPixels, 200);
    QCOMPARE(greenPixels, 12 * 10);
    delete form;
}

QTEST_MAIN(tst_DesignerPlugin)
#include "tst_designerplugin.moc"
