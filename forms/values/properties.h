#pragma once

#include <QObject>
#include <QVariant>

namespace forms {

// A property of an object reached by its name, as property pages and window definitions reach
// them. Reading a property the object does not have, or writing one, is run-time error 438.
// Writing converts the value to the property's type first (type mismatch 13, overflow 6) and then
// goes through the object's own setter, so its checks and side effects always run.
QVariant propertyByName(const QObject *object, const QString &name);
void setPropertyByName(QObject *object, const QString &name, const QVariant &value);
bool hasProperty(const QObject *object, const QString &name);

} // namespace forms
