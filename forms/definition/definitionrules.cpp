// The rules of a readable definition, checked alike on reading, on writing and on every edit.
#include "definitionrules.h"

#include "stdfont.h"
#include "stdpicture.h"

#include <QSet>

#include <cmath>

namespace forms {

namespace {

// XML 1.0 has no place for most control characters, nor for a surrogate without its pair.
bool xmlCanHold(QStringView text)
{
    if (!text.isValidUtf16())
        return false;
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if ((u < 0x20 && u != u'\t' && u != u'\n' && u != u'\r') || u == 0xFFFE || u == 0xFFFF)
            return false;
    }
    return true;
}

bool isNamed(const QString &name, QStringView one, QStringView other)
{
    return name.compare(one, Qt::CaseInsensitive) == 0 ||
           name.compare(other, Qt::CaseInsensitive) == 0;
}

std::optional<QString> twipsBreach(const QString &name, float value, float least)
{
    if (std::isfinite(value) && value >= least && value <= MaxExtentTwips)
        return std::nullopt;
    return QStringLiteral("\"%1\" is %2 twips, outside %3 to %4")
        .arg(name)
        .arg(double(value))
        .arg(double(least))
        .arg(double(MaxExtentTwips));
}

// The window's place and client size are whole numbers of twips within the limits.
std::optional<QString> windowSettingBreach(const QString &name, const QVariant &value)
{
    const bool size = isNamed(name, u"ClientWidth", u"ClientHeight");
    if (!size && !isNamed(name, u"ClientLeft", u"ClientTop"))
        return std::nullopt;
    const PropertyBag::Kind kind = PropertyBag::kindOf(value);
    if (kind != PropertyBag::Kind::Short && kind != PropertyBag::Kind::Long)
        return QStringLiteral("a number of twips is stored as an integer or long");
    const double least = size ? 0 : -MaxExtentTwips;
    if (value.toDouble() >= least && value.toDouble() <= MaxExtentTwips)
        return std::nullopt;
    return QStringLiteral("%1 twips, outside %2 to %3")
        .arg(value.toLongLong())
        .arg(least)
        .arg(double(MaxExtentTwips));
}

std::optional<QString> fontBreach(const StdFont &font)
{
    if (auto breach = textBreach(font.name))
        return breach;
    if (!(font.size > 0 && font.size <= MaxFontSize))
        return QStringLiteral("font size is not between 0 and %1: \"%2\"")
            .arg(MaxFontSize)
            .arg(font.size);
    if (font.weight < 0 || font.weight > 1000)
        return QStringLiteral("font weight is not between 0 and 1000");
    if (font.charset < 0 || font.charset > 255)
        return QStringLiteral("font character set is not between 0 and 255");
    return std::nullopt;
}

std::optional<QString> pictureBreach(const StdPicture &picture)
{
    const QPoint spot = picture.hotSpot();
    if (spot.isNull())
        return std::nullopt;
    const QSize size = picture.size();
    if (spot.x() >= 0 && spot.y() >= 0 && spot.x() < size.width() && spot.y() < size.height())
        return std::nullopt;
    return QStringLiteral("hot spot is not a point of the picture");
}

// The whole window's rules: each set's entries, the controls' names and places, the pictures'
// and the texts' totals. Walks the definition once, in the order it is written.
class Rules
{
public:
    std::optional<DefinitionBreach> check(const FormDefinition &definition)
    {
        if (auto what = nameBreach(definition.name))
            return breach(*what);
        if (auto found = checkSet(definition.settings, true))
            return found;
        for (const MenuDefinition &menu : definition.menus) {
            if (auto found = checkMenu(menu, 1))
                return found;
        }
        m_where.clear();
        if (definition.controls.size() > MaxControls)
            return breach(QStringLiteral("more than %1 controls").arg(MaxControls));
        m_control = 0;
        for (const ControlDefinition &control : definition.controls) {
            if (auto found = checkControl(control))
                return found;
            ++m_control;
        }
        return std::nullopt;
    }

private:
    DefinitionBreach breach(const QString &what, const QString &entry = {}) const
    {
        const QString place =
            entry.isEmpty() ? QString() : QStringLiteral("entry '%1': ").arg(entry);
        return {m_where + place, what, m_control, m_line, m_column};
    }

    std::optional<DefinitionBreach> checkMenu(const MenuDefinition &menu, int depth)
    {
        m_where = QStringLiteral("menu '%1': ").arg(menu.name.left(MaxNameLength));
        if (depth > MaxMenuDepth)
            return breach(QStringLiteral("menus nested deeper than %1").arg(MaxMenuDepth));
        if (++m_menuItems > MaxMenuItems)
            return breach(
                QStringLiteral("more than %1 menus and menu entries in all").arg(MaxMenuItems));
        for (const QString &text : {menu.name, menu.caption, menu.shortcut}) {
            if (auto what = textBreach(text))
                return breach(*what);
        }
        if (auto what = addText(menu.caption.size()))
            return breach(*what);
        for (const MenuDefinition &item : menu.items) {
            if (auto found = checkMenu(item, depth + 1))
                return found;
        }
        return std::nullopt;
    }

    std::optional<DefinitionBreach> checkControl(const ControlDefinition &control)
    {
        m_where =
            QStringLiteral("control '%1': ").arg(control.displayName().left(MaxNameLength + 8));
        m_line = control.line;
        m_column = control.column;
        if (auto what = textBreach(control.className))
            return breach(*what);
        if (auto what = nameBreach(control.name))
            return breach(*what);
        if (auto what = placeBreach(control))
            return breach(*what);
        const QPair<QString, int> key(control.name.toLower(), control.index);
        if (m_controlKeys.contains(key))
            return breach(QStringLiteral("a control of this name is already defined"));
        m_controlKeys.insert(key);
        if (auto found = checkSet(control.settings, false))
            return found;
        return checkSet(control.properties, false);
    }

    std::optional<DefinitionBreach> checkSet(const PropertyBag &bag, bool window)
    {
        if (countedEntries(bag) > MaxEntries)
            return breach(QStringLiteral("more than %1 entries").arg(MaxEntries));
        for (const PropertyBag::Entry &entry : bag.entries()) {
            if (auto what = textBreach(entry.name))
                return breach(*what, entry.name);
            if (auto what = valueBreach(entry.name, entry.value, window))
                return breach(*what, entry.name);
            if (auto what = addValue(entry.value))
                return breach(*what, entry.name);
        }
        return std::nullopt;
    }

    std::optional<QString> addValue(const QVariant &value)
    {
        switch (PropertyBag::kindOf(value)) {
        case PropertyBag::Kind::Text:
            return addText(value.toString().size());
        case PropertyBag::Kind::Picture:
            return m_picturePixels.add(value.value<StdPicture>().pixelCount());
        default:
            return std::nullopt;
        }
    }

    std::optional<QString> addText(qsizetype length)
    {
        m_text += length;
        if (m_text <= MaxWindowText)
            return std::nullopt;
        return QStringLiteral("the window's texts hold %1 characters or more, more than the %2 a "
                              "window holds")
            .arg(m_text)
            .arg(MaxWindowText);
    }

    QString m_where;
    qsizetype m_control = -1;
    int m_line = 0;
    int m_column = 0;
    int m_menuItems = 0;
    qint64 m_text = 0;
    PicturePixels m_picturePixels;
    QSet<QPair<QString, int>> m_controlKeys;
};

} // namespace

std::optional<QString> textBreach(QStringView text)
{
    if (text.size() > MaxTextLength)
        return QStringLiteral("a text of %1 characters, more than %2")
            .arg(text.size())
            .arg(MaxTextLength);
    if (!text.isValidUtf16())
        return QStringLiteral("text that is not valid Unicode");
    if (!xmlCanHold(text))
        return QStringLiteral("holds a character that a window definition cannot store");
    return std::nullopt;
}

std::optional<QString> nameBreach(const QString &name)
{
    if (auto breach = textBreach(name))
        return breach;
    if (isControlName(name))
        return std::nullopt;
    return QStringLiteral("\"%1\" is not a name: a letter, then letters, digits and underscores, "
                          "at most %2 in all")
        .arg(name.left(40))
        .arg(MaxNameLength);
}

std::optional<QString> placeBreach(const ControlDefinition &control)
{
    if (control.index < -1 || control.index > MaxControlIndex)
        return QStringLiteral("index %1 is outside 0 to %2")
            .arg(control.index)
            .arg(MaxControlIndex);
    const TwipsRect &rect = control.rect;
    if (auto breach = twipsBreach(QStringLiteral("left"), rect.left, -MaxExtentTwips))
        return breach;
    if (auto breach = twipsBreach(QStringLiteral("top"), rect.top, -MaxExtentTwips))
        return breach;
    if (auto breach = twipsBreach(QStringLiteral("width"), rect.width, 0))
        return breach;
    if (auto breach = twipsBreach(QStringLiteral("height"), rect.height, 0))
        return breach;
    if (control.tabIndex < 0 || control.tabIndex > MaxTabIndex)
        return QStringLiteral("tab index %1 is outside 0 to %2")
            .arg(control.tabIndex)
            .arg(MaxTabIndex);
    return std::nullopt;
}

std::optional<QString> valueBreach(const QString &name, const QVariant &value, bool windowSetting)
{
    if (windowSetting) {
        if (auto breach = windowSettingBreach(name, value))
            return breach;
    }
    switch (PropertyBag::kindOf(value)) {
    case PropertyBag::Kind::Text:
        return textBreach(value.toString());
    case PropertyBag::Kind::Font:
        return fontBreach(value.value<StdFont>());
    case PropertyBag::Kind::Picture:
        return pictureBreach(value.value<StdPicture>());
    default:
        return std::nullopt;
    }
}

qsizetype countedEntries(const PropertyBag &bag)
{
    qsizetype count = 0;
    for (const PropertyBag::Entry &entry : bag.entries()) {
        if (!isNamed(entry.name, u"_extentx", u"_extenty") &&
            !isNamed(entry.name, u"ClientWidth", u"ClientHeight"))
            ++count;
    }
    return count;
}

std::optional<DefinitionBreach> breachOf(const FormDefinition &definition)
{
    return Rules().check(definition);
}

void requireReadable(const FormDefinition &definition)
{
    if (const auto breach = breachOf(definition))
        throw DefinitionError(breach->message());
}

} // namespace forms
