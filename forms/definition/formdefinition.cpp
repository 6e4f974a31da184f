// The window definition's own small parts; reading and writing its XML are in
// definitionreader.cpp and definitionwriter.cpp.
#include "formdefinition.h"

#include <algorithm>

namespace forms {

QString ControlDefinition::displayName() const
{
    return index >= 0 ? QStringLiteral("%1(%2)").arg(name).arg(index) : name;
}

namespace {

// The stored set without the extent, which follows the control's place.
PropertyBag withoutExtent(const PropertyBag &properties)
{
    PropertyBag own;
    for (const PropertyBag::Entry &entry : properties.entries()) {
        if (entry.name.compare(u"_extentx", Qt::CaseInsensitive) != 0 &&
            entry.name.compare(u"_extenty", Qt::CaseInsensitive) != 0)
            own.append(entry.name, entry.value);
    }
    return own;
}

} // namespace

bool ControlDefinition::sameApartFromPlace(const ControlDefinition &other) const
{
    return className == other.className && name == other.name && index == other.index &&
           settings.sameEntries(other.settings) &&
           withoutExtent(properties).sameEntries(withoutExtent(other.properties));
}

bool ControlDefinition::sameAs(const ControlDefinition &other) const
{
    return rect == other.rect && tabIndex == other.tabIndex && className == other.className &&
           name == other.name && index == other.index && settings.sameEntries(other.settings) &&
           properties.sameEntries(other.properties);
}

QString placeInFile(const QString &source, int line, int column)
{
    return line > 0 ? QStringLiteral("%1:%2:%3").arg(source).arg(line).arg(column) : source;
}

bool isControlName(const QString &name)
{
    if (name.isEmpty() || name.size() > MaxNameLength)
        return false;
    const auto isLetter = [](QChar c) {
        return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
    };
    if (!isLetter(name.front()))
        return false;
    return std::all_of(name.cbegin(), name.cend(), [&](QChar c) {
        return isLetter(c) || (c >= u'0' && c <= u'9') || c == u'_';
    });
}

std::optional<QString> PicturePixels::add(qint64 pixels)
{
    m_pixels += pixels;
    if (m_pixels <= MaxPicturePixels)
        return std::nullopt;
    return QStringLiteral("the window's pictures decode to %1 pixels or more, more than the %2 a "
                          "window holds")
        .arg(m_pixels)
        .arg(MaxPicturePixels);
}

DefinitionError::DefinitionError(const QString &message)
    : std::runtime_error(message.toStdString()), m_message(message)
{}

} // namespace forms
