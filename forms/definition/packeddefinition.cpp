#include "packeddefinition.h"

#include "definitionrules.h"
#include "stdfont.h"
#include "stdpicture.h"

#include <QDataStream>
#include <QIODevice>

namespace forms {

namespace {

constexpr quint32 Magic = 0x4D564446; // "MVDF"
constexpr quint16 FormatVersion = 1;
constexpr QDataStream::Version StreamVersion = QDataStream::Qt_6_4;

using Kind = PropertyBag::Kind;

void packValue(QDataStream &out, const QVariant &value)
{
    const Kind kind = PropertyBag::kindOf(value);
    out << quint8(kind);
    switch (kind) {
    case Kind::Text:
        out << value.toString();
        break;
    case Kind::Short:
        out << qint16(value.toInt());
        break;
    case Kind::Long:
        out << qint32(value.toLongLong());
        break;
    case Kind::UnsignedLong:
        out << quint32(value.toUInt());
        break;
    case Kind::Boolean:
        out << value.toBool();
        break;
    case Kind::Font: {
        const StdFont font = value.value<StdFont>();
        out << font.name << font.size << font.weight << font.charset << font.italic
            << font.underline << font.strikethrough;
        break;
    }
    case Kind::Picture: {
        const StdPicture picture = value.value<StdPicture>();
        out << picture.data() << picture.hotSpot();
        break;
    }
    }
}

void packBag(QDataStream &out, const PropertyBag &bag)
{
    out << quint32(bag.entries().size());
    for (const PropertyBag::Entry &entry : bag.entries()) {
        out << entry.name;
        packValue(out, entry.value);
    }
}

void packMenu(QDataStream &out, const MenuDefinition &menu)
{
    out << menu.name << menu.caption << menu.shortcut << quint32(menu.items.size());
    for (const MenuDefinition &item : menu.items)
        packMenu(out, item);
}

class Unpacker
{
public:
    Unpacker(const QByteArray &packed, const QString &source) : m_in(packed), m_source(source)
    {
        m_in.setVersion(StreamVersion);
    }

    FormDefinition read()
    {
        quint32 magic = 0;
        quint16 version = 0;
        m_in >> magic >> version;
        if (magic != Magic || version != FormatVersion)
            fail(QStringLiteral("not a packed window definition of this version"));
        FormDefinition definition;
        m_in >> definition.name;
        readBag(definition.settings);
        for (quint32 n = count(); n > 0; --n)
            definition.menus.append(readMenu(1));
        for (quint32 n = count(); n > 0; --n)
            definition.controls.append(readControl());
        check();
        if (!m_in.atEnd())
            fail(QStringLiteral("data after the definition"));
        if (const auto breach = breachOf(definition))
            fail(breach->message());
        return definition;
    }

private:
    [[noreturn]] void fail(const QString &what) const
    {
        throw DefinitionError(QStringLiteral("%1: %2").arg(m_source, what));
    }

    // A count read from damaged data could claim billions of items: the stream's end is checked
    // before each one, so a bad count ends the reading rather than a loop or an allocation.
    quint32 count()
    {
        quint32 n = 0;
        m_in >> n;
        check();
        return n;
    }

    void check()
    {
        if (m_in.status() != QDataStream::Ok)
            fail(QStringLiteral("the packed definition is cut short or damaged"));
    }

    void readBag(PropertyBag &bag)
    {
        for (quint32 n = count(); n > 0; --n) {
            QString name;
            m_in >> name;
            const QVariant value = readValue();
            check();
            if (bag.contains(name))
                fail(QStringLiteral("entry '%1' stored twice").arg(name));
            bag.append(name, value);
        }
    }

    QVariant readValue()
    {
        quint8 kind = 0;
        m_in >> kind;
        switch (Kind(kind)) {
        case Kind::Text:
            return read<QString>();
        case Kind::Short:
            return QVariant::fromValue(read<qint16>());
        case Kind::Long:
            return QVariant::fromValue(read<qint32>());
        case Kind::UnsignedLong:
            return QVariant::fromValue(read<quint32>());
        case Kind::Boolean:
            return read<bool>();
        case Kind::Font:
            return QVariant::fromValue(readFont());
        case Kind::Picture:
            return QVariant::fromValue(readPicture());
        }
        fail(QStringLiteral("a value of unknown kind %1").arg(kind));
    }

    template <typename T> T read()
    {
        T value{};
        m_in >> value;
        check();
        return value;
    }

    StdFont readFont()
    {
        StdFont font;
        m_in >> font.name >> font.size >> font.weight >> font.charset >> font.italic >>
            font.underline >> font.strikethrough;
        check();
        return font;
    }

    StdPicture readPicture()
    {
        QByteArray data;
        QPoint hotSpot;
        m_in >> data >> hotSpot;
        check();
        QString why;
        StdPicture picture = StdPicture::fromStoredData(data, &why);
        if (!data.isEmpty() && picture.isNull())
            fail(QStringLiteral("a picture cannot be read: %1").arg(why));
        if (const auto tooMany = m_picturePixels.add(picture.pixelCount()))
            fail(*tooMany);
        picture.setHotSpot(hotSpot);
        return picture;
    }

    MenuDefinition readMenu(int depth)
    {
        if (depth > MaxMenuDepth)
            fail(QStringLiteral("menus nested deeper than %1").arg(MaxMenuDepth));
        MenuDefinition menu;
        m_in >> menu.name >> menu.caption >> menu.shortcut;
        for (quint32 n = count(); n > 0; --n)
            menu.items.append(readMenu(depth + 1));
        return menu;
    }

    ControlDefinition readControl()
    {
        ControlDefinition control;
        qint32 index = 0, tabIndex = 0, line = 0, column = 0;
        m_in >> control.className >> control.name >> index >> control.rect.left >>
            control.rect.top >> control.rect.width >> control.rect.height >> tabIndex >> line >>
            column;
        check();
        control.index = index;
        control.tabIndex = tabIndex;
        control.line = line;
        control.column = column;
        readBag(control.settings);
        readBag(control.properties);
        return control;
    }

    QDataStream m_in;
    QString m_source;
    PicturePixels m_picturePixels;
};

} // namespace

QByteArray packDefinition(const FormDefinition &definition)
{
    requireReadable(definition);
    QByteArray packed;
    QDataStream out(&packed, QIODevice::WriteOnly);
    out.setVersion(StreamVersion);
    out << Magic << FormatVersion << definition.name;
    packBag(out, definition.settings);
    out << quint32(definition.menus.size());
    for (const MenuDefinition &menu : definition.menus)
        packMenu(out, menu);
    out << quint32(definition.controls.size());
    for (const ControlDefinition &control : definition.controls) {
        out << control.className << control.name << qint32(control.index) << control.rect.left
            << control.rect.top << control.rect.width << control.rect.height
            << qint32(control.tabIndex) << qint32(control.line) << qint32(control.column);
        packBag(out, control.settings);
        packBag(out, control.properties);
    }
    return packed;
}

FormDefinition unpackDefinition(const QByteArray &packed, const QString &source)
{
    return Unpacker(packed, source).read();
}

} // namespace forms
