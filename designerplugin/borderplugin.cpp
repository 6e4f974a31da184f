#include "borderplugin.h"

#include "border.h"
#include "designmode.h"
#include "widgeticons.h"

BorderPlugin::BorderPlugin(QObject *parent) : QObject(parent) {}

QString BorderPlugin::name() const
{
    return QStringLiteral("Border");
}

QString BorderPlugin::group() const
{
    return QStringLiteral("Mirvale");
}

QString BorderPlugin::toolTip() const
{
    return QStringLiteral("A sunken separator line");
}

QString BorderPlugin::whatsThis() const
{
    return QStringLiteral("A horizontal sunken separator: a dark line over a light line, across "
                          "the full width. It keeps its own height of 4 pixels.");
}

QString BorderPlugin::includeFile() const
{
    return QStringLiteral("border.h");
}

QIcon BorderPlugin::icon() const
{
    return borderIcon();
}

bool BorderPlugin::isContainer() const
{
    return false;
}

QString BorderPlugin::domXml() const
{
    return QStringLiteral(R"(<ui language="c++">
 <widget class="Border" name="border">
  <property name="geometry">
   <rect><x>0</x><y>0</y><width>200</width><height>4</height></rect>
  </property>
 </widget>
</ui>
)");
}

QWidget *BorderPlugin::createWidget(QWidget *parent)
{
    return new Border(parent);
}

bool BorderPlugin::isInitialized() const
{
    return m_initialized;
}

void BorderPlugin::initialize(QDesignerFormEditorInterface *core)
{
    if (m_initialized)
        return;
    markFormWindowsDesigned(core);
    m_initialized = true;
}
