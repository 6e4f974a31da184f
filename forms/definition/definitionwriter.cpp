// Writing a window definition as XML; a definition that could not be read back is not written.
#include "formdefinition.h"

#include "definitionrules.h"
#include "definitionxml.h"
#include "stdfont.h"
#include "stdpicture.h"

#include <QXmlStreamWriter>

namespace forms {

namespace {

using namespace definitionxml;

class Writer
{
public:
    explicit Writer(QByteArray *out) : m_xml(out)
    {
        m_xml.setAutoFormatting(true);
        m_xml.setAutoFormattingIndent(4);
    }

    void write(const FormDefinition &definition)
    {
        m_xml.writeStartDocument();
        m_xml.writeStartElement(QStringLiteral("window"));
        attribute(QStringLiteral("name"), definition.name);
        writeEntries(QStringLiteral("setting"), definition.settings);
        for (const MenuDefinition &menu : definition.menus)
            writeMenu(menu);
        for (const ControlDefinition &control : definition.controls)
            writeControl(control);
        m_xml.writeEndElement();
        m_xml.writeEndDocument();
    }

private:
    void writeMenu(const MenuDefinition &menu)
    {
        m_xml.writeStartElement(QStringLiteral("menu"));
        attribute(QStringLiteral("name"), menu.name);
        attribute(QStringLiteral("caption"), menu.caption);
        if (!menu.shortcut.isEmpty())
            attribute(QStringLiteral("shortcut"), menu.shortcut);
        for (const MenuDefinition &item : menu.items)
            writeMenu(item);
        m_xml.writeEndElement();
    }

    void writeControl(const ControlDefinition &control)
    {
        m_xml.writeStartElement(QStringLiteral("control"));
        attribute(QStringLiteral("class"), control.className);
        attribute(QStringLiteral("name"), control.name);
        if (control.index >= 0)
            m_xml.writeAttribute(QStringLiteral("index"), QString::number(control.index));
        m_xml.writeAttribute(QStringLiteral("left"), twips(control.rect.left));
        m_xml.writeAttribute(QStringLiteral("top"), twips(control.rect.top));
        m_xml.writeAttribute(QStringLiteral("width"), twips(control.rect.width));
        m_xml.writeAttribute(QStringLiteral("height"), twips(control.rect.height));
        m_xml.writeAttribute(QStringLiteral("tabindex"), QString::number(control.tabIndex));
        writeEntries(QStringLiteral("setting"), control.settings);
        writeEntries(QStringLiteral("property"), control.properties);
        m_xml.writeEndElement();
    }

    static QString twips(float value) { return QString::number(value, 'g', 9); }

    void writeEntries(const QString &element, const PropertyBag &bag)
    {
        for (const PropertyBag::Entry &entry : bag.entries())
            writeEntry(element, entry);
    }

    void writeEntry(const QString &element, const PropertyBag::Entry &entry)
    {
        const QVariant &value = entry.value;
        m_xml.writeStartElement(element);
        attribute(QStringLiteral("name"), entry.name);
        switch (PropertyBag::kindOf(value)) {
        case PropertyBag::Kind::Font: {
            const StdFont font = value.value<StdFont>();
            m_xml.writeAttribute(QStringLiteral("type"), TypeFont);
            attribute(QStringLiteral("face"), font.name);
            m_xml.writeAttribute(QStringLiteral("size"), QString::number(font.size, 'g', 10));
            m_xml.writeAttribute(QStringLiteral("weight"), QString::number(font.weight));
            m_xml.writeAttribute(QStringLiteral("charset"), QString::number(font.charset));
            m_xml.writeAttribute(QStringLiteral("italic"), boolean(font.italic));
            m_xml.writeAttribute(QStringLiteral("underline"), boolean(font.underline));
            m_xml.writeAttribute(QStringLiteral("strikethrough"), boolean(font.strikethrough));
            break;
        }
        case PropertyBag::Kind::Picture: {
            const StdPicture picture = value.value<StdPicture>();
            m_xml.writeAttribute(QStringLiteral("type"), TypePicture);
            if (!picture.hotSpot().isNull())
                m_xml.writeAttribute(
                    QStringLiteral("hotspot"),
                    QStringLiteral("%1,%2").arg(picture.hotSpot().x()).arg(picture.hotSpot().y()));
            m_xml.writeCharacters(QString::fromLatin1(picture.data().toBase64()));
            break;
        }
        case PropertyBag::Kind::Boolean:
            m_xml.writeAttribute(QStringLiteral("type"), TypeBoolean);
            m_xml.writeCharacters(value.toBool() ? QStringLiteral("-1") : QStringLiteral("0"));
            break;
        case PropertyBag::Kind::Short:
            m_xml.writeAttribute(QStringLiteral("type"), TypeInteger);
            m_xml.writeCharacters(QString::number(value.toInt()));
            break;
        case PropertyBag::Kind::UnsignedLong:
            m_xml.writeAttribute(QStringLiteral("type"), TypeLong);
            m_xml.writeCharacters(
                QStringLiteral("0x") +
                QStringLiteral("%1").arg(value.toUInt(), 8, 16, QLatin1Char('0')).toUpper());
            break;
        case PropertyBag::Kind::Long:
            m_xml.writeAttribute(QStringLiteral("type"), TypeLong);
            m_xml.writeCharacters(QString::number(value.toLongLong()));
            break;
        case PropertyBag::Kind::Text:
            m_xml.writeAttribute(QStringLiteral("type"), TypeString);
            writeText(value.toString());
            break;
        }
        m_xml.writeEndElement();
    }

    // A reader turns a carriage return written as it is into a line end, so each one goes as a
    // character reference.
    void writeText(const QString &text)
    {
        const QList<QStringView> parts = QStringView(text).split(u'\r');
        for (qsizetype i = 0; i < parts.size(); ++i) {
            if (i > 0)
                m_xml.writeEntityReference(QStringLiteral("#13"));
            m_xml.writeCharacters(parts[i].toString());
        }
    }

    void attribute(const QString &name, const QString &value) { m_xml.writeAttribute(name, value); }

    static QString boolean(bool value)
    {
        return value ? QStringLiteral("True") : QStringLiteral("False");
    }

    QXmlStreamWriter m_xml;
};

} // namespace

QByteArray writeDefinition(const FormDefinition &definition)
{
    requireReadable(definition);
    QByteArray out;
    Writer(&out).write(definition);
    if (out.size() > MaxDefinitionSize)
        throw DefinitionError(QStringLiteral("the window would be written as %1 bytes, more than "
                                             "the %2 a definition file holds")
                                  .arg(out.size())
                                  .arg(MaxDefinitionSize));
    return out;
}

} // namespace forms
