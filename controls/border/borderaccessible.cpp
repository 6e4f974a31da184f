#include "borderaccessible.h"

#include "border.h"

namespace {

QAccessibleInterface *borderFactory(const QString &className, QObject *object)
{
    if (className == QLatin1String("Border") && object && object->isWidgetType()) {
        if (auto *border = qobject_cast<Border *>(object))
            return new BorderAccessible(border);
    }
    return nullptr;
}

} // namespace

void installBorderAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(borderFactory);
        return true;
    }();
    Q_UNUSED(installed)
}

BorderAccessible::BorderAccessible(QWidget *widget)
    : QAccessibleWidget(widget, QAccessible::Separator)
{}

QAccessible::Role BorderAccessible::role() const
{
    return QAccessible::Separator;
}

int BorderAccessible::childCount() const
{
    return 0;
}

QAccessibleInterface *BorderAccessible::child(int) const
{
    return nullptr;
}

int BorderAccessible::indexOfChild(const QAccessibleInterface *) const
{
    return -1;
}
