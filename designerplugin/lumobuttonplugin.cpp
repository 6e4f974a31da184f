#include "lumobuttonplugin.h"

#include "designmode.h"
#include "lumobutton.h"
#include "widgeticons.h"

LumoButtonPlugin::LumoButtonPlugin(QObject *parent) : QObject(parent) {}

QString LumoButtonPlugin::name() const
{
    return QStringLiteral("LumoButton");
}

QString LumoButtonPlugin::group() const
{
    return QStringLiteral("Mirvale");
}

QString LumoButtonPlugin::toolTip() const
{
    return QStringLiteral(
        "A button that lies flat, rises under the pointer and sinks when pressed");
}

QString LumoButtonPlugin::whatsThis() const
{
    return QStringLiteral(
        "An owner-drawn button with a caption (\"&\" underlines the next character) and an "
        "optional picture for each of its faces. It acts as a push button or, with qtSwitch, as "
        "a two-state switch whose state is Value.");
}

QString LumoButtonPlugin::includeFile() const
{
    return QStringLiteral("lumobutton.h");
}

QIcon LumoButtonPlugin::icon() const
{
    return lumoButtonIcon();
}

bool LumoButtonPlugin::isContainer() const
{
    return false;
}

// The defaults of a newly placed button that differ from a button just constructed; the size is
// that of the calculator's buttons.
QString LumoButtonPlugin::domXml() const
{
    return QStringLiteral(R"(<ui language="c++">
 <widget class="LumoButton" name="lumoButton">
  <property name="geometry">
   <rect><x>0</x><y>0</y><width>109</width><height>31</height></rect>
  </property>
  <property name="Caption"><string>LumoButton</string></property>
  <property name="qtDelta"><number>45</number></property>
  <property name="qtLightBorderColor">
   <color><red>255</red><green>255</green><blue>255</blue></color>
  </property>
  <property name="qtDarkBorderColor">
   <color><red>128</red><green>128</green><blue>128</blue></color>
  </property>
  <property name="qtShift"><number>15</number></property>
 </widget>
</ui>
)");
}

QWidget *LumoButtonPlugin::createWidget(QWidget *parent)
{
    return new LumoButton(parent);
}

bool LumoButtonPlugin::isInitialized() const
{
    return m_initialized;
}

void LumoButtonPlugin::initialize(QDesignerFormEditorInterface *core)
{
    if (m_initialized)
        return;
    markFormWindowsDesigned(core);
    m_initialized = true;
}
