#include "propertyvalues.h"

#include "formdefinition.h"

#include <QMetaProperty>

namespace forms {

namespace {

const char *const PointerShapes[] = {
    "0 - Default",
    "1 - Arrow",
    "2 - Cross",
    "3 - I-Beam",
    "4 - Icon",
    "5 - Size",
    "6 - Size NE SW",
    "7 - Size N S",
    "8 - Size NW SE",
    "9 - Size W W",
    "10 - Up Arrow",
    "11 - Hourglass",
    "12 - No Drop",
    "13 - Arrow and Hourglass",
    "14 - Arrow and Question",
    "15 - Size All",
    "99 - Custom",
};

QMetaProperty metaProperty(const QObject *control, const QString &property)
{
    const QMetaObject *meta = control ? control->metaObject() : nullptr;
    const int index = meta ? meta->indexOfProperty(property.toLatin1().constData()) : -1;
    return index >= 0 ? meta->property(index) : QMetaProperty();
}

// The leading number of "3 - I-Beam".
QString numberPart(const QString &name)
{
    return name.section(QStringLiteral(" - "), 0, 0).trimmed();
}

QString expectedOfType(const QMetaProperty &property)
{
    const QByteArray name = property.name();
    switch (property.metaType().id()) {
    case QMetaType::Short:
        return QObject::tr("a whole number from -32768 to 32767, e.g. 45");
    case QMetaType::Int:
        return QObject::tr("a whole number, e.g. 45");
    case QMetaType::UInt:
        if (name.contains("Color"))
            return QObject::tr("a colour as &H00BBGGRR& or a desktop colour's name, e.g. "
                               "Button Face");
        return QObject::tr("a whole number from 0 to 4294967295");
    case QMetaType::Bool:
        return QObject::tr("True or False");
    case QMetaType::Float:
    case QMetaType::Double:
        return QObject::tr("a number, e.g. 1.5");
    case QMetaType::QString:
        return QObject::tr("text of at most %1 characters").arg(MaxTextLength);
    default:
        return QObject::tr("a value of the property's own kind");
    }
}

} // namespace

QStringList pointerShapeNames()
{
    QStringList names;
    for (const char *name : PointerShapes)
        names.append(QString::fromLatin1(name));
    return names;
}

QStringList valueNames(const QObject *control, const QString &property)
{
    if (property == u"MousePointer")
        return pointerShapeNames();
    if (!control)
        return {};
    const QMetaObject *meta = control->metaObject();
    const QByteArray key = "Values:" + property.toLatin1();
    const int info = meta->indexOfClassInfo(key.constData());
    if (info < 0)
        return {};
    return QString::fromLatin1(meta->classInfo(info).value()).split(u'|');
}

QString nameOfValue(const QStringList &names, qint64 value)
{
    const QString number = QString::number(value);
    for (const QString &name : names) {
        if (numberPart(name) == number)
            return name;
    }
    return number;
}

QVariant valueOfName(const QStringList &names, const QString &text)
{
    const QString typed = text.trimmed();
    for (const QString &name : names) {
        if (name.compare(typed, Qt::CaseInsensitive) == 0)
            return numberPart(name);
    }
    return text;
}

QString expectedValue(const QObject *control, const QString &property)
{
    if (property == u"Left" || property == u"Top")
        return QObject::tr("a number of twips, e.g. 120");
    if (property == u"Width" || property == u"Height")
        return QObject::tr("a number of twips from 0 to %1, e.g. 1215").arg(MaxExtentTwips);
    if (property == u"ClientWidth" || property == u"ClientHeight")
        return QObject::tr("a whole number of twips from 1 to %1, e.g. 4680").arg(MaxExtentTwips);
    if (property == u"Name")
        return QObject::tr("a name not taken by another control: a letter, then letters, digits "
                           "and underscores, at most %1 in all")
            .arg(MaxNameLength);
    if (property == u"Index")
        return QObject::tr("empty outside a control array, or an index from 0 to 32767 that no "
                           "other control of the array has");
    if (property == u"TabIndex")
        return QObject::tr("a whole number from 0 to %1, e.g. 3").arg(MaxTabIndex);
    const QStringList names = valueNames(control, property);
    if (!names.isEmpty())
        return names.size() <= 4 ? QObject::tr("one of %1").arg(names.join(QStringLiteral(", ")))
                                 : QObject::tr("a number from its list, %1 to %2")
                                       .arg(names.first(), names.last());
    const QMetaProperty meta = metaProperty(control, property);
    return meta.isValid() ? expectedOfType(meta) : QString();
}

} // namespace forms
