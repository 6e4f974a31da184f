#include "controlregistry.h"

#include "label.h"
#include "textbox.h"
#include "usercontrol.h"

#include <QMap>

namespace forms {

namespace {

constexpr char ClassKey[] = "_forms_class";

QMap<QString, ControlFactory> &factories()
{
    static QMap<QString, ControlFactory> registry;
    return registry;
}

} // namespace

void registerControlClass(const QString &className, ControlFactory factory)
{
    factories().insert(className, std::move(factory));
}

bool isUserControlClass(const QString &className)
{
    return factories().contains(className);
}

bool isControlClass(const QString &className)
{
    return className == u"Label" || className == u"TextBox" || isUserControlClass(className);
}

QStringList userControlClasses()
{
    return factories().keys();
}

QWidget *createControl(const QString &className, QWidget *parent)
{
    QWidget *control = nullptr;
    if (className == u"Label")
        control = new Label(parent);
    else if (className == u"TextBox")
        control = new TextBox(parent);
    else if (const auto factory = factories().value(className))
        control = factory(parent);
    if (control)
        control->setProperty(ClassKey, className);
    return control;
}

QString controlClassName(const QWidget *control)
{
    return control->property(ClassKey).toString();
}

} // namespace forms
