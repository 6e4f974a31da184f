// Reading a stored window definition from its XML, with the file, line, column, control and entry
// of whatever cannot be read.
#include "formdefinition.h"

#include "attributecount.h"
#include "definitionrules.h"
#include "definitionxml.h"
#include "stdfont.h"
#include "stdpicture.h"

#include <QXmlStreamReader>

#include <algorithm>
#include <cmath>
#include <limits>

namespace forms {

namespace {

using namespace definitionxml;

// Reading stops at a set this long; the rules count its entries without the client size and
// the extent, four names at most.
constexpr int MaxEntriesRead = MaxEntries + 4;

class Reader
{
public:
    Reader(const QByteArray &xml, const QString &source)
        : m_bytes(xml), m_xml(xml), m_size(xml.size()), m_source(source)
    {}

    FormDefinition read()
    {
        if (m_size > MaxDefinitionSize)
            fail(QStringLiteral("the file is larger than %1 bytes").arg(MaxDefinitionSize));
        if (const int line = lineOfTooManyAttributes(m_bytes))
            throw DefinitionError(QStringLiteral("%1:%2: an element with more than %3 attributes")
                                      .arg(m_source)
                                      .arg(line)
                                      .arg(MaxAttributes));
        FormDefinition definition;
        if (!nextElement())
            fail(QStringLiteral("no <window> element"));
        if (m_xml.name() != u"window")
            fail(QStringLiteral("expected <window>, found <%1>").arg(m_xml.name()));
        definition.line = int(m_xml.lineNumber());
        definition.column = int(m_xml.columnNumber());
        definition.name = requiredName();
        while (nextElement()) {
            const QStringView element = m_xml.name();
            if (element == u"setting")
                readEntry(definition.settings, true);
            else if (element == u"menu")
                readTopMenu(definition);
            else if (element == u"control")
                readControl(definition);
            else
                fail(QStringLiteral("unexpected <%1> in <window>").arg(element));
        }
        expectEnd();
        // What only the whole window shows: names defined twice, the pictures' and texts' totals.
        if (const auto breach = breachOf(definition))
            throw DefinitionError(QStringLiteral("%1:%2:%3: ")
                                      .arg(m_source)
                                      .arg(breach->line ? breach->line : 1)
                                      .arg(breach->line ? breach->column : 1) +
                                  breach->message());
        return definition;
    }

private:
    // Moves to the next child element of the current one; false at the current one's end.
    bool nextElement()
    {
        while (!m_xml.atEnd()) {
            switch (m_xml.readNext()) {
            case QXmlStreamReader::StartElement:
                return true;
            case QXmlStreamReader::EndElement:
                return false;
            case QXmlStreamReader::Characters:
                if (!m_xml.isWhitespace())
                    fail(QStringLiteral("unexpected text \"%1\"").arg(m_xml.text().left(40)));
                break;
            case QXmlStreamReader::DTD:
            case QXmlStreamReader::EntityReference:
                refuseDocumentType();
                break;
            default:
                break;
            }
        }
        checkXml();
        return false;
    }

    void expectEnd()
    {
        while (!m_xml.atEnd()) {
            const auto token = m_xml.readNext();
            if (token == QXmlStreamReader::StartElement)
                fail(QStringLiteral("unexpected <%1> after </window>").arg(m_xml.name()));
            if (token == QXmlStreamReader::DTD || token == QXmlStreamReader::EntityReference)
                refuseDocumentType();
        }
        checkXml();
    }

    // A definition declares nothing: entities could expand without bound or name other files.
    [[noreturn]] void refuseDocumentType() const
    {
        fail(QStringLiteral("a document type or entity declaration, which a definition may not "
                            "have"));
    }

    void checkXml()
    {
        if (m_xml.hasError() && m_xml.error() != QXmlStreamReader::PrematureEndOfDocumentError)
            fail(m_xml.errorString());
        if (m_xml.hasError())
            fail(QStringLiteral("the file ends before the definition does"));
    }

    [[noreturn]] void fail(const QString &what) const
    {
        QString where = QStringLiteral("%1:%2:%3: ")
                            .arg(m_source)
                            .arg(m_xml.lineNumber())
                            .arg(m_xml.columnNumber());
        if (!m_control.isEmpty())
            where += QStringLiteral("control '%1': ").arg(m_control);
        if (!m_entry.isEmpty())
            where += QStringLiteral("entry '%1': ").arg(m_entry);
        throw DefinitionError(where + what);
    }

    QString requiredAttribute(const QString &name)
    {
        const auto attributes = m_xml.attributes();
        if (!attributes.hasAttribute(name))
            fail(QStringLiteral("<%1> has no \"%2\" attribute").arg(m_xml.name(), name));
        return validText(attributes.value(name).toString());
    }

    QString requiredName()
    {
        const QString name = requiredAttribute(QStringLiteral("name"));
        if (const auto breach = nameBreach(name))
            fail(*breach);
        return name;
    }

    // The XML reader passes on a lone surrogate from a UTF-16 file. That is no character, and
    // the definition could not be written back.
    QString validText(const QString &text) const
    {
        if (const auto breach = textBreach(text))
            fail(*breach);
        return text;
    }

    int intAttribute(const QString &name, int fallback, bool required = false)
    {
        if (!m_xml.attributes().hasAttribute(name)) {
            if (required)
                requiredAttribute(name);
            return fallback;
        }
        const QString text = m_xml.attributes().value(name).toString();
        bool ok = false;
        const int value = text.toInt(&ok);
        if (!ok)
            fail(QStringLiteral("\"%1\" is not a whole number: \"%2\"").arg(name, text.left(40)));
        return value;
    }

    float twipsAttribute(const QString &name)
    {
        const QString text = requiredAttribute(name);
        bool ok = false;
        const float value = text.toFloat(&ok);
        if (!ok || !std::isfinite(value))
            fail(
                QStringLiteral("\"%1\" is not a number of twips: \"%2\"").arg(name, text.left(40)));
        return value;
    }

    void readTopMenu(FormDefinition &definition) { definition.menus.append(readMenu(1)); }

    // A menu bar of a thousand menus would take seconds to build and to paint.
    MenuDefinition readMenu(int depth)
    {
        if (depth > MaxMenuDepth)
            fail(QStringLiteral("menus nested deeper than %1").arg(MaxMenuDepth));
        if (++m_menuItems > MaxMenuItems)
            fail(QStringLiteral("more than %1 menus and menu entries in all").arg(MaxMenuItems));
        MenuDefinition menu;
        menu.name = requiredAttribute(QStringLiteral("name"));
        menu.caption = requiredAttribute(QStringLiteral("caption"));
        menu.shortcut = validText(m_xml.attributes().value(QStringLiteral("shortcut")).toString());
        while (nextElement()) {
            if (m_xml.name() != u"menu")
                fail(QStringLiteral("unexpected <%1> in <menu>").arg(m_xml.name()));
            menu.items.append(readMenu(depth + 1));
        }
        return menu;
    }

    void readControl(FormDefinition &definition)
    {
        if (definition.controls.size() >= MaxControls)
            fail(QStringLiteral("more than %1 controls").arg(MaxControls));
        ControlDefinition control;
        control.line = int(m_xml.lineNumber());
        control.column = int(m_xml.columnNumber());
        control.className = requiredAttribute(QStringLiteral("class"));
        control.name = requiredName();
        control.index = intAttribute(QStringLiteral("index"), -1);
        m_control = control.displayName();
        control.rect = {
            twipsAttribute(QStringLiteral("left")), twipsAttribute(QStringLiteral("top")),
            twipsAttribute(QStringLiteral("width")), twipsAttribute(QStringLiteral("height"))};
        control.tabIndex = intAttribute(QStringLiteral("tabindex"), 0, true);
        if (const auto breach = placeBreach(control))
            fail(*breach);
        while (nextElement()) {
            const QStringView element = m_xml.name();
            if (element == u"setting")
                readEntry(control.settings);
            else if (element == u"property")
                readEntry(control.properties);
            else
                fail(QStringLiteral("unexpected <%1> in <control>").arg(element));
        }
        m_control.clear();
        definition.controls.append(control);
    }

    void readEntry(PropertyBag &bag, bool window = false)
    {
        if (bag.entries().size() >= MaxEntriesRead)
            fail(QStringLiteral("more than %1 entries").arg(MaxEntries));
        const QString name = requiredAttribute(QStringLiteral("name"));
        m_entry = name;
        if (bag.contains(name))
            fail(QStringLiteral("stored twice"));
        const QString type = requiredAttribute(QStringLiteral("type"));
        QVariant value;
        if (type == TypeFont) {
            value = QVariant::fromValue(readFont());
            if (nextElement())
                fail(QStringLiteral("unexpected <%1> in a font").arg(m_xml.name()));
        } else {
            const QXmlStreamAttributes attributes = m_xml.attributes();
            const QString text = m_xml.readElementText(QXmlStreamReader::ErrorOnUnexpectedElement);
            if (m_xml.hasError())
                fail(m_xml.errorString());
            value = parseValue(type, text, attributes);
        }
        if (const auto breach = valueBreach(name, value, window))
            fail(*breach);
        bag.append(name, value);
        m_entry.clear();
    }

    QVariant parseValue(const QString &type, const QString &text,
                        const QXmlStreamAttributes &attributes)
    {
        if (type == TypeString)
            return validText(text);
        if (type == TypeInteger) {
            bool ok = false;
            const int value = text.trimmed().toInt(&ok);
            if (!ok || value < std::numeric_limits<qint16>::min() ||
                value > std::numeric_limits<qint16>::max())
                fail(QStringLiteral("not a 16-bit integer: \"%1\"").arg(text.left(40)));
            return QVariant::fromValue<qint16>(qint16(value));
        }
        if (type == TypeLong)
            return parseLong(text.trimmed());
        if (type == TypeBoolean) {
            const QString t = text.trimmed();
            if (t == u"-1" || t.compare(u"True", Qt::CaseInsensitive) == 0)
                return true;
            if (t == u"0" || t.compare(u"False", Qt::CaseInsensitive) == 0)
                return false;
            fail(QStringLiteral("not a Boolean (-1 or 0): \"%1\"").arg(t.left(40)));
        }
        if (type == TypePicture)
            return QVariant::fromValue(parsePicture(text, attributes));
        fail(QStringLiteral("unknown type \"%1\"").arg(type.left(40)));
    }

    // A 32-bit value: hexadecimal (0x8000000F, as colours are written) or decimal.
    QVariant parseLong(const QString &text)
    {
        bool ok = false;
        if (text.startsWith(u"0x", Qt::CaseInsensitive)) {
            const qulonglong bits = text.mid(2).toULongLong(&ok, 16);
            if (ok && text.size() <= 10 && bits <= 0xFFFFFFFFull)
                return QVariant::fromValue<quint32>(quint32(bits));
        } else {
            const int value = text.toInt(&ok);
            if (ok)
                return QVariant::fromValue<qint32>(value);
        }
        fail(QStringLiteral("not a 32-bit integer: \"%1\"").arg(text.left(40)));
    }

    StdFont readFont()
    {
        StdFont font;
        font.name = requiredAttribute(QStringLiteral("face"));
        const QString size = requiredAttribute(QStringLiteral("size"));
        bool ok = false;
        font.size = size.toDouble(&ok);
        if (!ok)
            fail(QStringLiteral("font size is not a number: \"%1\"").arg(size.left(40)));
        // A number beyond 16 bits is kept as one the rules refuse.
        const auto short16 = [](int value) {
            return qint16(std::clamp(value, -1, int(std::numeric_limits<qint16>::max())));
        };
        font.weight = short16(intAttribute(QStringLiteral("weight"), 400, true));
        font.charset = short16(intAttribute(QStringLiteral("charset"), 0, true));
        font.italic = boolAttribute(QStringLiteral("italic"));
        font.underline = boolAttribute(QStringLiteral("underline"));
        font.strikethrough = boolAttribute(QStringLiteral("strikethrough"));
        return font;
    }

    bool boolAttribute(const QString &name)
    {
        const QString text = requiredAttribute(name);
        if (text == u"-1" || text.compare(u"True", Qt::CaseInsensitive) == 0)
            return true;
        if (text == u"0" || text.compare(u"False", Qt::CaseInsensitive) == 0)
            return false;
        fail(QStringLiteral("\"%1\" is not a Boolean: \"%2\"").arg(name, text.left(40)));
    }

    StdPicture parsePicture(const QString &text, const QXmlStreamAttributes &attributes)
    {
        if (text.trimmed().isEmpty())
            return StdPicture();
        const auto decoded = QByteArray::fromBase64Encoding(
            text.trimmed().toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
        if (!decoded)
            fail(QStringLiteral("picture data is not base64"));
        QString why;
        StdPicture picture = StdPicture::fromStoredData(*decoded, &why);
        if (picture.isNull())
            fail(QStringLiteral("picture cannot be read: %1").arg(why));
        if (const auto tooMany = m_picturePixels.add(picture.pixelCount()))
            fail(*tooMany);
        if (attributes.hasAttribute(QStringLiteral("hotspot"))) {
            const QStringList xy =
                attributes.value(QStringLiteral("hotspot")).toString().split(u',');
            bool okX = false, okY = false;
            const int x = xy.value(0).toInt(&okX), y = xy.value(1).toInt(&okY);
            if (xy.size() != 2 || !okX || !okY)
                fail(QStringLiteral("hot spot is not a point of the picture"));
            picture.setHotSpot(QPoint(x, y));
        }
        return picture;
    }

    QByteArray m_bytes;
    QXmlStreamReader m_xml;
    qsizetype m_size;
    QString m_source;
    QString m_control;
    QString m_entry;
    int m_menuItems = 0;
    PicturePixels m_picturePixels;
};

} // namespace

FormDefinition readDefinition(const QByteArray &xml, const QString &source)
{
    return Reader(xml, source).read();
}

} // namespace forms
