#include "mirvalewidgets.h"

#include "borderplugin.h"
#include "lumobuttonplugin.h"

MirvaleWidgets::MirvaleWidgets(QObject *parent) : QObject(parent)
{
    m_widgets.append(new LumoButtonPlugin(this));
    m_widgets.append(new BorderPlugin(this));
}

QList<QDesignerCustomWidgetInterface *> MirvaleWidgets::customWidgets() const
{
    return m_widgets;
}
