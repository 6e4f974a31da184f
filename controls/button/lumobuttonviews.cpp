// LumoButton's properties in Qt's own types, for Qt Designer's property editor.
#include "lumobutton.h"

#include "picturebox.h"

#include <QScopedValueRollback>

#include <algorithm>
#include <limits>

using forms::OleColor;
using forms::StdFont;
using forms::StdPicture;

namespace {

qint16 clampedToShort(int value)
{
    return qint16(std::clamp<int>(value, std::numeric_limits<qint16>::min(),
                                  std::numeric_limits<qint16>::max()));
}

QPixmap pixmapOf(const StdPicture &picture)
{
    return QPixmap::fromImage(picture.image());
}

StdPicture pictureOf(const QPixmap &pixmap)
{
    return StdPicture::fromImage(pixmap.toImage());
}

} // namespace

// ---- Qt-typed views -----------------------------------------------------------------------

QColor LumoButton::shown(OleColor color) const
{
    return forms::toQColor(color, palette());
}

// Until its first show a button is still being built; a window made from a .ui file applies
// its values then.
bool LumoButton::isBeingBuilt() const
{
    return !testAttribute(Qt::WA_WState_Polished);
}

QColor LumoButton::qtBackColor() const
{
    return shown(BackColor());
}

void LumoButton::setQtBackColor(const QColor &color)
{
    setBackColor(forms::fromQColor(color));
}

QFont LumoButton::qtFont() const
{
    return Font().toQFont();
}

void LumoButton::setQtFont(const QFont &font)
{
    setFont(StdFont::fromQFont(font, Font().charset));
}

QColor LumoButton::qtForeColor() const
{
    return shown(ForeColor());
}

void LumoButton::setQtForeColor(const QColor &color)
{
    setForeColor(forms::fromQColor(color));
}

QPixmap LumoButton::qtPicture() const
{
    return pixmapOf(Picture());
}

void LumoButton::setQtPicture(const QPixmap &picture)
{
    setPicture(pictureOf(picture));
}

void LumoButton::setQtDelta(int delta)
{
    setDelta(clampedToShort(delta));
}

QColor LumoButton::qtLightBorderColor() const
{
    return shown(m_LightBorderColor);
}

void LumoButton::setQtLightBorderColor(const QColor &color)
{
    setLightBorderColor(forms::fromQColor(color));
}

QColor LumoButton::qtDarkBorderColor() const
{
    return shown(m_DarkBorderColor);
}

void LumoButton::setQtDarkBorderColor(const QColor &color)
{
    setDarkBorderColor(forms::fromQColor(color));
}

void LumoButton::setQtAlignment(int alignment)
{
    const QScopedValueRollback building(m_applyingDefinition, isBeingBuilt());
    setAlignment(clampedToShort(alignment));
}

QPixmap LumoButton::qtSelectedPicture() const
{
    return pixmapOf(SelectedPicture());
}

void LumoButton::setQtSelectedPicture(const QPixmap &picture)
{
    setSelectedPicture(pictureOf(picture));
}

QPixmap LumoButton::qtPressedPicture() const
{
    return pixmapOf(PressedPicture());
}

void LumoButton::setQtPressedPicture(const QPixmap &picture)
{
    setPressedPicture(pictureOf(picture));
}

QFont LumoButton::qtFontSelected() const
{
    return m_FontSelected.toQFont();
}

void LumoButton::setQtFontSelected(const QFont &font)
{
    setFontSelected(StdFont::fromQFont(font, m_FontSelected.charset));
}

QFont LumoButton::qtFontPressed() const
{
    return m_FontPressed.toQFont();
}

void LumoButton::setQtFontPressed(const QFont &font)
{
    setFontPressed(StdFont::fromQFont(font, m_FontPressed.charset));
}

QColor LumoButton::qtForeColorSelected() const
{
    return shown(m_ForeColorSelected);
}

void LumoButton::setQtForeColorSelected(const QColor &color)
{
    setForeColorSelected(forms::fromQColor(color));
}

QColor LumoButton::qtForeColorPressed() const
{
    return shown(m_ForeColorPressed);
}

void LumoButton::setQtForeColorPressed(const QColor &color)
{
    setForeColorPressed(forms::fromQColor(color));
}

void LumoButton::setQtSwitch(bool on)
{
    const QScopedValueRollback building(m_applyingDefinition, isBeingBuilt());
    setSwitch(on);
}

void LumoButton::setQtShift(int shift)
{
    const QScopedValueRollback building(m_applyingDefinition, isBeingBuilt());
    setShift(clampedToShort(shift));
}
