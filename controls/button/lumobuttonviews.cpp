// LumoButton's properties in Qt's own types, for Qt Designer's property editor.
#include "lumobutton.h"

#include "lumobuttonproperties.h"
#include "picturebox.h"

#include <QMetaProperty>
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
    return !m_polished;
}

// Each kind has one Qt type: a colour reads as the desktop shows it, a font keeps the character
// set the property has, an integer is clamped to the 16-bit range.
QVariant LumoButton::view(const char *name) const
{
    const LumoButtonProperty *stored = LumoButtonProperties::find(QLatin1String(name));
    Q_ASSERT(stored);
    const QVariant value = stored->value(*this);
    switch (stored->kind) {
    case LumoButtonProperty::Kind::Color:
        return shown(value.value<OleColor>());
    case LumoButtonProperty::Kind::Font:
        return value.value<StdFont>().toQFont();
    case LumoButtonProperty::Kind::Picture:
        return pixmapOf(value.value<StdPicture>());
    case LumoButtonProperty::Kind::Integer:
        return int(value.value<qint16>());
    case LumoButtonProperty::Kind::Boolean:
    case LumoButtonProperty::Kind::Text:
        return value;
    }
    return {};
}

// Written through the property's own setter, so that it redraws and notifies as ever; a button
// still being built takes design-time-only values, as loading a stored set does.
void LumoButton::setView(const char *name, const QVariant &value)
{
    const LumoButtonProperty *stored = LumoButtonProperties::find(QLatin1String(name));
    Q_ASSERT(stored);
    QVariant written = value;
    switch (stored->kind) {
    case LumoButtonProperty::Kind::Color:
        written = QVariant::fromValue<OleColor>(forms::fromQColor(value.value<QColor>()));
        break;
    case LumoButtonProperty::Kind::Font:
        written = QVariant::fromValue(StdFont::fromQFont(
            value.value<QFont>(), stored->value(*this).value<StdFont>().charset));
        break;
    case LumoButtonProperty::Kind::Picture:
        written = QVariant::fromValue(pictureOf(value.value<QPixmap>()));
        break;
    case LumoButtonProperty::Kind::Integer:
        written = QVariant::fromValue(clampedToShort(value.toInt()));
        break;
    case LumoButtonProperty::Kind::Boolean:
    case LumoButtonProperty::Kind::Text:
        break;
    }
    const QScopedValueRollback building(m_applyingDefinition, isBeingBuilt());
    const QMetaObject *meta = metaObject();
    meta->property(meta->indexOfProperty(name)).write(this, written);
}

QColor LumoButton::qtBackColor() const
{
    return view("BackColor").value<QColor>();
}
void LumoButton::setQtBackColor(const QColor &color)
{
    setView("BackColor", color);
}
QFont LumoButton::qtFont() const
{
    return view("Font").value<QFont>();
}
void LumoButton::setQtFont(const QFont &font)
{
    setView("Font", font);
}
QColor LumoButton::qtForeColor() const
{
    return view("ForeColor").value<QColor>();
}
void LumoButton::setQtForeColor(const QColor &color)
{
    setView("ForeColor", color);
}
QPixmap LumoButton::qtPicture() const
{
    return view("Picture").value<QPixmap>();
}
void LumoButton::setQtPicture(const QPixmap &picture)
{
    setView("Picture", picture);
}
int LumoButton::qtDelta() const
{
    return view("Delta").toInt();
}
void LumoButton::setQtDelta(int delta)
{
    setView("Delta", delta);
}
QColor LumoButton::qtLightBorderColor() const
{
    return view("LightBorderColor").value<QColor>();
}
void LumoButton::setQtLightBorderColor(const QColor &color)
{
    setView("LightBorderColor", color);
}
QColor LumoButton::qtDarkBorderColor() const
{
    return view("DarkBorderColor").value<QColor>();
}
void LumoButton::setQtDarkBorderColor(const QColor &color)
{
    setView("DarkBorderColor", color);
}
int LumoButton::qtAlignment() const
{
    return view("Alignment").toInt();
}
void LumoButton::setQtAlignment(int alignment)
{
    setView("Alignment", alignment);
}
QPixmap LumoButton::qtSelectedPicture() const
{
    return view("SelectedPicture").value<QPixmap>();
}
void LumoButton::setQtSelectedPicture(const QPixmap &picture)
{
    setView("SelectedPicture", picture);
}
QPixmap LumoButton::qtPressedPicture() const
{
    return view("PressedPicture").value<QPixmap>();
}
void LumoButton::setQtPressedPicture(const QPixmap &picture)
{
    setView("PressedPicture", picture);
}
QFont LumoButton::qtFontSelected() const
{
    return view("FontSelected").value<QFont>();
}
void LumoButton::setQtFontSelected(const QFont &font)
{
    setView("FontSelected", font);
}
QFont LumoButton::qtFontPressed() const
{
    return view("FontPressed").value<QFont>();
}
void LumoButton::setQtFontPressed(const QFont &font)
{
    setView("FontPressed", font);
}
QColor LumoButton::qtForeColorSelected() const
{
    return view("ForeColorSelected").value<QColor>();
}
void LumoButton::setQtForeColorSelected(const QColor &color)
{
    setView("ForeColorSelected", color);
}
QColor LumoButton::qtForeColorPressed() const
{
    return view("ForeColorPressed").value<QColor>();
}
void LumoButton::setQtForeColorPressed(const QColor &color)
{
    setView("ForeColorPressed", color);
}
void LumoButton::setQtSwitch(bool on)
{
    setView("Switch", on);
}
void LumoButton::setQtShift(int shift)
{
    setView("Shift", shift);
}
