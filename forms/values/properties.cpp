#include "properties.h"

#include "conversions.h"
#include "runtimeerror.h"

#include <QMetaProperty>

namespace forms {

namespace {

QMetaProperty findProperty(const QObject *object, const QString &name)
{
    const QMetaObject *meta = object->metaObject();
    const int index = meta->indexOfProperty(name.toLatin1().constData());
    if (index < 0)
        throw RuntimeError(
            438, QStringLiteral("Object doesn't support this property or method: %1").arg(name));
    return meta->property(index);
}

} // namespace

QVariant propertyByName(const QObject *object, const QString &name)
{
    return findProperty(object, name).read(object);
}

void setPropertyByName(QObject *object, const QString &name, const QVariant &value)
{
    const QMetaProperty property = findProperty(object, name);
    if (!property.isWritable())
        throw RuntimeError(383, QStringLiteral("'%1' is read-only").arg(name));
    // The error names the property, so that whoever reports it can say which one it was.
    try {
        property.write(object, convertTo(value, property.metaType()));
    } catch (RuntimeError &error) {
        error.inProperty(QString::fromLatin1(property.name()));
        throw;
    }
}

bool hasProperty(const QObject *object, const QString &name)
{
    return object->metaObject()->indexOfProperty(name.toLatin1().constData()) >= 0;
}

} // namespace forms
