// Reading a stored window definition from its XML, with the file, line, column, control and entry
// of whatever cannot be read.
#include "formdefinition.h"

#include "definitionxml.h"
#include "stdfont.h"
#include "stdpicture.h"

#include <QSet>
#include <QXmlStreamReader>

#include <cmath>
#include <limits>

namespace forms {

namespace {

using namespace definitionxml;

// Limits that keep a hostile file from exhausting memory or time.
constexpr int MaxEntries = 1000;
constexpr int MaxMenuItems = 1000;

class Reader
{
public:
    Reader(const QByteArray &xml, const QString &source)
        : m_xml(xml), m_size(xml.size()), m_source(source)
    {}

    FormDefinition read()
    {
        if (m_size > MaxDefinitionSize)
            fail(QStringLiteral("the file is larger than %1 bytes").arg(MaxDefinitionSize));
        FormDefinition definition;
        if (!nextElement())
            fail(QStringLiteral("no <window> element"));
        if (m_xml.name() != u"window")
            fail(QStringLiteral("expected <window>, found <%1>").arg(m_xml.name()));
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
        if (!isControlName(name))
            fail(QStringLiteral("\"%1\" is not a name: a letter, then letters, digits and "
                                "underscores, at most %2 in all")
                     .arg(name.left(40))
                     .arg(MaxNameLength));
        return name;
    }

    // The XML reader passes on a lone surrogate from a UTF-16 file. That is no character, and
    // the definition could not be written back.
    QString validText(const QString &text) const
    {
        if (text.size() > MaxTextLength)
            fail(QStringLiteral("a text of %1 characters, more than %2")
                     .arg(text.size())
                     .arg(MaxTextLength));
        if (!QStringView(text).isValidUtf16())
            fail(QStringLiteral("text that is not valid Unicode"));
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

    // A position (`least` -MaxExtentTwips) or a size (`least` 0) in twips.
    float twipsAttribute(const QString &name, float least)
    {
        const QString text = requiredAttribute(name);
        bool ok = false;
        const float value = text.toFloat(&ok);
        if (!ok || !std::isfinite(value))
            fail(
                QStringLiteral("\"%1\" is not a number of twips: \"%2\"").arg(name, text.left(40)));
        if (value < least || value > MaxExtentTwips)
            fail(QStringLiteral("\"%1\" is %2 twips, outside %3 to %4")
                     .arg(name, text.left(40))
                     .arg(double(least))
                     .arg(double(MaxExtentTwips)));
        return value;
    }

    // A menu bar of a thousand menus would take seconds to build and to paint.
    void readTopMenu(FormDefinition &definition)
    {
        if (definition.menus.size() >= MaxMenuItems)
            fail(QStringLiteral("more than %1 menus").arg(MaxMenuItems));
        definition.menus.append(readMenu(1));
    }

    MenuDefinition readMenu(int depth)
    {
        if (depth > MaxMenuDepth)
            fail(QStringLiteral("menus nested deeper than %1").arg(MaxMenuDepth));
        MenuDefinition menu;
        menu.name = requiredAttribute(QStringLiteral("name"));
        menu.caption = requiredAttribute(QStringLiteral("caption"));
        menu.shortcut = validText(m_xml.attributes().value(QStringLiteral("shortcut")).toString());
        while (nextElement()) {
            if (m_xml.name() != u"menu")
                fail(QStringLiteral("unexpected <%1> in <menu>").arg(m_xml.name()));
            if (menu.items.size() >= MaxMenuItems)
                fail(QStringLiteral("more than %1 menu entries").arg(MaxMenuItems));
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
        if (control.index < -1 || control.index > 32767)
            fail(QStringLiteral("index %1 is outside 0 to 32767").arg(control.index));
        const QPair<QString, int> key(control.name.toLower(), control.index);
        if (m_controlKeys.contains(key))
            fail(QStringLiteral("a control of this name is already defined"));
        m_controlKeys.insert(key);
        const float farthest = -MaxExtentTwips;
        control.rect = {twipsAttribute(QStringLiteral("left"), farthest),
                        twipsAttribute(QStringLiteral("top"), farthest),
                        twipsAttribute(QStringLiteral("width"), 0),
                        twipsAttribute(QStringLiteral("height"), 0)};
        control.tabIndex = intAttribute(QStringLiteral("tabindex"), 0, true);
        if (control.tabIndex < 0 || control.tabIndex > MaxTabIndex)
            fail(QStringLiteral("tab index %1 is outside 0 to %2")
                     .arg(control.tabIndex)
                     .arg(MaxTabIndex));
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
        if (bag.entries().size() >= MaxEntries)
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
        if (window)
            checkWindowSetting(name, value);
        bag.append(name, value);
        m_entry.clear();
    }

    // The window's place and client size are numbers of twips within the limits.
    void checkWindowSetting(const QString &name, const QVariant &value) const
    {
        const bool size = name.compare(u"ClientWidth", Qt::CaseInsensitive) == 0 ||
                          name.compare(u"ClientHeight", Qt::CaseInsensitive) == 0;
        const bool place = name.compare(u"ClientLeft", Qt::CaseInsensitive) == 0 ||
                           name.compare(u"ClientTop", Qt::CaseInsensitive) == 0;
        if (!size && !place)
            return;
        const PropertyBag::Kind kind = PropertyBag::kindOf(value);
        if (kind != PropertyBag::Kind::Short && kind != PropertyBag::Kind::Long)
            fail(QStringLiteral("a number of twips is stored as an integer or long"));
        const double least = size ? 0 : -MaxExtentTwips;
        if (value.toDouble() < least || value.toDouble() > MaxExtentTwips)
            fail(QStringLiteral("%1 twips, outside %2 to %3")
                     .arg(value.toLongLong())
                     .arg(least)
                     .arg(double(MaxExtentTwips)));
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
        if (!ok || !(font.size > 0 && font.size <= 2048))
            fail(QStringLiteral("font size is not between 0 and 2048: \"%1\"").arg(size.left(40)));
        const int weight = intAttribute(QStringLiteral("weight"), 400, true);
        if (weight < 0 || weight > 1000)
            fail(QStringLiteral("font weight is not between 0 and 1000"));
        font.weight = qint16(weight);
        const int charset = intAttribute(QStringLiteral("charset"), 0, true);
        if (charset < 0 || charset > 255)
            fail(QStringLiteral("font character set is not between 0 and 255"));
        font.charset = qint16(charset);
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
            if (xy.size() != 2 || !okX || !okY || x < 0 || y < 0 || x >= picture.size().width() ||
                y >= picture.size().height())
                fail(QStringLiteral("hot spot is not a point of the picture"));
            picture.setHotSpot(QPoint(x, y));
        }
        return picture;
    }

    QXmlStreamReader m_xml;
    qsizetype m_size;
    QString m_source;
    QString m_control;
    QString m_entry;
    // The controls read so far by name (in lower case) and index.
    QSet<QPair<QString, int>> m_controlKeys;
    PicturePixels m_picturePixels;
};

} // namespace

FormDefinition readDefinition(const QByteArray &xml, const QString &source)
{
    return Reader(xml, source).read();
}

} // namespace forms
