#include "conversions.h"

#include "numbertext.h"
#include "runtimeerror.h"

#include <cmath>
#include <limits>

namespace forms {

namespace {

// "&H" and "&O" forms as the platform writes integer literals: a 32-bit pattern.
std::optional<double> radixLiteral(const QString &text)
{
    const QString t = text.trimmed();
    if (t.size() < 3 || t[0] != u'&')
        return std::nullopt;
    const QChar kind = t[1].toUpper();
    const int base = kind == u'H' ? 16 : kind == u'O' ? 8 : 0;
    if (base == 0)
        return std::nullopt;
    QString digits = t.mid(2);
    if (digits.endsWith(u'&'))
        digits.chop(1);
    bool ok = false;
    const qulonglong bits = digits.toULongLong(&ok, base);
    if (!ok || bits > 0xFFFFFFFFull)
        return std::nullopt;
    return bits > 0xFFFF ? double(qint32(quint32(bits))) : double(qint16(quint16(bits)));
}

// A value as a number, the way every numeric destination sees it.
double toNumber(const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        return 0;
    switch (value.typeId()) {
    case QMetaType::Bool:
        return value.toBool() ? -1 : 0;
    case QMetaType::QString: {
        const QString text = value.toString();
        if (const auto literal = radixLiteral(text))
            return *literal;
        if (const auto number = toDouble(text))
            return *number;
        throw RuntimeError::typeMismatch();
    }
    default:
        if (holdsNumber(value))
            return value.toDouble();
        throw RuntimeError::typeMismatch();
    }
}

template <typename Integer> Integer toIntegerOf(const QVariant &value)
{
    const double number = std::nearbyint(toNumber(value)); // rounds half to even
    if (!(number >= double(std::numeric_limits<Integer>::min()) &&
          number <= double(std::numeric_limits<Integer>::max())))
        throw RuntimeError::overflow();
    return Integer(number);
}

} // namespace

bool holdsNumber(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::Bool:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
    case QMetaType::Float:
    case QMetaType::Double:
        return true;
    default:
        return false;
    }
}

qint16 toInteger(const QVariant &value)
{
    return toIntegerOf<qint16>(value);
}

qint32 toLong(const QVariant &value)
{
    // A colour is a 32-bit pattern: &H8000000F reads as the Long it is stored as.
    if (value.typeId() == QMetaType::UInt)
        return qint32(value.toUInt());
    return toIntegerOf<qint32>(value);
}

OleColor toColor(const QVariant &value)
{
    if (value.typeId() == QMetaType::UInt)
        return value.toUInt();
    return OleColor(toLong(value));
}

bool toBoolean(const QVariant &value)
{
    if (value.typeId() == QMetaType::Bool)
        return value.toBool();
    if (value.typeId() == QMetaType::QString) {
        const QString text = value.toString().trimmed();
        if (text.compare(u"True", Qt::CaseInsensitive) == 0)
            return true;
        if (text.compare(u"False", Qt::CaseInsensitive) == 0)
            return false;
    }
    return toNumber(value) != 0;
}

QString toText(const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        return QString();
    switch (value.typeId()) {
    case QMetaType::QString:
        return value.toString();
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case QMetaType::Float:
    case QMetaType::Double:
        return numberToText(value.toDouble());
    default:
        break;
    }
    if (value.canConvert<qlonglong>() && value.typeId() != qMetaTypeId<StdFont>() &&
        value.typeId() != qMetaTypeId<StdPicture>())
        return QString::number(value.toLongLong());
    throw RuntimeError::typeMismatch();
}

StdFont toFont(const QVariant &value)
{
    if (value.typeId() == qMetaTypeId<StdFont>())
        return value.value<StdFont>();
    if (value.typeId() == QMetaType::QFont)
        return StdFont::fromQFont(value.value<QFont>());
    throw RuntimeError::typeMismatch();
}

StdPicture toPicture(const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        return StdPicture();
    if (value.typeId() == qMetaTypeId<StdPicture>())
        return value.value<StdPicture>();
    if (value.typeId() == QMetaType::QImage)
        return StdPicture::fromImage(value.value<QImage>());
    throw RuntimeError::typeMismatch();
}

QVariant convertTo(const QVariant &value, QMetaType type)
{
    switch (type.id()) {
    case QMetaType::Short:
        return QVariant::fromValue(toInteger(value));
    case QMetaType::Int:
        return QVariant::fromValue(toLong(value));
    case QMetaType::UInt:
        return QVariant::fromValue(toColor(value));
    case QMetaType::Bool:
        return QVariant::fromValue(toBoolean(value));
    case QMetaType::QString:
        return QVariant::fromValue(toText(value));
    default:
        break;
    }
    if (type.id() == qMetaTypeId<StdFont>())
        return QVariant::fromValue(toFont(value));
    if (type.id() == qMetaTypeId<StdPicture>())
        return QVariant::fromValue(toPicture(value));
    if (value.metaType() == type)
        return value;
    throw RuntimeError::typeMismatch();
}

} // namespace forms
