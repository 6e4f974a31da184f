#include "propertybag.h"

#include "conversions.h"
#include "stdfont.h"
#include "stdpicture.h"

#include <algorithm>

namespace forms {

namespace {

double numberOf(const QVariant &v)
{
    if (v.typeId() == QMetaType::Bool)
        return v.toBool() ? -1 : 0;
    // A colour is a 32-bit pattern: &H8000000F and its signed reading are one value.
    if (v.typeId() == QMetaType::UInt)
        return double(qint32(v.toUInt()));
    return v.toDouble();
}

} // namespace

bool PropertyBag::sameValue(const QVariant &a, const QVariant &b)
{
    if (!a.isValid() || !b.isValid())
        return a.isValid() == b.isValid();
    if (holdsNumber(a) && holdsNumber(b))
        return numberOf(a) == numberOf(b);
    if (a.typeId() == qMetaTypeId<StdFont>() && b.typeId() == qMetaTypeId<StdFont>())
        return a.value<StdFont>() == b.value<StdFont>();
    if (a.typeId() == qMetaTypeId<StdPicture>() && b.typeId() == qMetaTypeId<StdPicture>())
        return a.value<StdPicture>() == b.value<StdPicture>();
    if (a.typeId() == QMetaType::QString && b.typeId() == QMetaType::QString)
        return a.toString() == b.toString();
    return false;
}

bool PropertyBag::sameEntries(const PropertyBag &other) const
{
    return std::equal(m_entries.cbegin(), m_entries.cend(), other.m_entries.cbegin(),
                      other.m_entries.cend(), [](const Entry &a, const Entry &b) {
                          return a.name == b.name && kindOf(a.value) == kindOf(b.value) &&
                                 sameValue(a.value, b.value);
                      });
}

PropertyBag::Kind PropertyBag::kindOf(const QVariant &value)
{
    if (value.typeId() == qMetaTypeId<StdFont>())
        return Kind::Font;
    if (value.typeId() == qMetaTypeId<StdPicture>())
        return Kind::Picture;
    switch (value.typeId()) {
    case QMetaType::Bool:
        return Kind::Boolean;
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::SChar:
    case QMetaType::UChar:
        return Kind::Short;
    case QMetaType::UInt:
        return Kind::UnsignedLong;
    case QMetaType::Int:
    case QMetaType::Long:
    case QMetaType::LongLong:
        return Kind::Long;
    default:
        return Kind::Text;
    }
}

QVariant PropertyBag::ReadProperty(const QString &name, const QVariant &defaultValue) const
{
    m_lastRead = name;
    if (m_reads)
        m_reads->insert(name.toLower());
    const qsizetype i = indexOf(name);
    return i >= 0 ? m_entries[i].value : defaultValue;
}

void PropertyBag::WriteProperty(const QString &name, const QVariant &value,
                                const QVariant &defaultValue)
{
    const qsizetype i = indexOf(name);
    const bool isDefault = defaultValue.isValid() && sameValue(value, defaultValue);
    if (i >= 0) {
        if (isDefault)
            m_entries.removeAt(i);
        else
            m_entries[i].value = value;
        return;
    }
    if (!isDefault)
        m_entries.append({name, value});
}

void PropertyBag::append(const QString &name, const QVariant &value)
{
    const qsizetype i = indexOf(name);
    if (i >= 0)
        m_entries[i].value = value;
    else
        m_entries.append({name, value});
}

qsizetype PropertyBag::indexOf(const QString &name) const
{
    for (qsizetype i = 0; i < m_entries.size(); ++i) {
        if (m_entries[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

} // namespace forms
