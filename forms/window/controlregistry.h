#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

namespace forms {

class UserControl;

// The user-control classes a window definition may name, each with the function that creates
// one. Stock kinds ("Label", "TextBox") are always known.
using ControlFactory = std::function<UserControl *(QWidget *parent)>;
void registerControlClass(const QString &className, ControlFactory factory);
bool isUserControlClass(const QString &className);
// A stock kind or a registered user-control class.
bool isControlClass(const QString &className);
QStringList userControlClasses();

// Creates a control of the named class inside parent, or returns nullptr for an unknown class.
// The widget remembers its class name for saving.
QWidget *createControl(const QString &className, QWidget *parent);
QString controlClassName(const QWidget *control);

} // namespace forms
