#include "colors.h"

#include <QGuiApplication>

namespace forms {

namespace {

struct PaletteSlot
{
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

// The desktop's colour for each system colour index, 0 to 24.
PaletteSlot slotFor(int index)
{
    using P = QPalette;
    switch (index) {
    case 0:
        return {P::Active, P::Mid}; // scroll bars
    case 1:
        return {P::Active, P::Dark}; // desktop
    case 2:
        return {P::Active, P::Highlight}; // active title bar
    case 3:
        return {P::Inactive, P::Mid}; // inactive title bar
    case 4:
        return {P::Active, P::Window}; // menu bar
    case 5:
        return {P::Active, P::Base}; // window background
    case 6:
        return {P::Active, P::Shadow}; // window frame
    case 7:
        return {P::Active, P::WindowText}; // menu text
    case 8:
        return {P::Active, P::WindowText}; // window text
    case 9:
        return {P::Active, P::HighlightedText}; // active title bar text
    case 10:
        return {P::Active, P::Mid}; // active border
    case 11:
        return {P::Inactive, P::Mid}; // inactive border
    case 12:
        return {P::Active, P::Dark}; // application workspace
    case 13:
        return {P::Active, P::Highlight}; // selection
    case 14:
        return {P::Active, P::HighlightedText};
    case 15:
        return {P::Active, P::Button}; // button face
    case 16:
        return {P::Active, P::Dark}; // 3-D shadow
    case 17:
        return {P::Disabled, P::Text}; // grey text
    case 18:
        return {P::Active, P::ButtonText}; // button text
    case 19:
        return {P::Inactive, P::WindowText}; // inactive title bar text
    case 20:
        return {P::Active, P::Light}; // 3-D highlight
    case 21:
        return {P::Active, P::Shadow}; // 3-D dark shadow
    case 22:
        return {P::Active, P::Midlight}; // 3-D light
    case 23:
        return {P::Active, P::ToolTipText};
    case 24:
        return {P::Active, P::ToolTipBase};
    default:
        return {P::Active, P::WindowText};
    }
}

} // namespace

QColor toQColor(OleColor value, const QPalette &palette)
{
    if (isSystemColor(value)) {
        const PaletteSlot slot = slotFor(int(value & 0xFF));
        return palette.color(slot.group, slot.role);
    }
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

QColor toQColor(OleColor value)
{
    return toQColor(value, QGuiApplication::palette());
}

OleColor fromQColor(const QColor &color)
{
    const QColor rgb = color.toRgb();
    return OleColor(rgb.red()) | (OleColor(rgb.green()) << 8) | (OleColor(rgb.blue()) << 16);
}

} // namespace forms
