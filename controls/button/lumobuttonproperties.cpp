// LumoButton's stored property set, and the defaults, reading and writing that come from it.
#include "lumobuttonproperties.h"

#include "conversions.h"
#include "lumobutton.h"
#include "picturebox.h"
#include "propertybag.h"

#include <QScopedValueRollback>

#include <array>

using forms::OleColor;
using forms::StdFont;
using forms::StdPicture;
using Kind = LumoButtonProperty::Kind;
using Kept = LumoButtonProperty::Kept;

namespace {

template <typename T, T LumoButton::*Field> QVariant fieldValue(const LumoButton &button)
{
    return QVariant::fromValue(button.*Field);
}

template <typename T, T LumoButton::*Field>
void assignField(LumoButton &button, const QVariant &value)
{
    button.*Field = value.value<T>();
}

template <auto Value> QVariant constant(const LumoButton &)
{
    return QVariant::fromValue(Value);
}

QVariant none(const LumoButton &)
{
    return QVariant::fromValue(StdPicture());
}

QVariant noText(const LumoButton &)
{
    return QString();
}

} // namespace

QVariant LumoButtonProperty::converted(const QVariant &stored) const
{
    switch (kind) {
    case Kind::Boolean:
        return forms::toBoolean(stored);
    case Kind::Integer:
        return QVariant::fromValue<qint16>(forms::toInteger(stored));
    case Kind::Color:
        return QVariant::fromValue<OleColor>(forms::toColor(stored));
    case Kind::Text:
        return forms::toText(stored);
    case Kind::Font:
        return QVariant::fromValue(forms::toFont(stored));
    case Kind::Picture:
        return QVariant::fromValue(forms::toPicture(stored));
    }
    return {};
}

// The constituents a new button starts with keep its faces between paints, write in the window
// text colour and carry the test tooltip, while a stored set that leaves them out means no kept
// faces, the button text colour and no tooltip.
std::span<const LumoButtonProperty> LumoButtonProperties::all()
{
    using B = LumoButton;
    static const auto ambient = [](const B &button) {
        return QVariant::fromValue(button.AmbientFont());
    };
    static const std::array<LumoButtonProperty, 22> rows{{
        {"AutoRedraw", Kind::Boolean, constant<false>, constant<true>, Kept::InConstituent,
         [](const B &b) -> QVariant { return b.picButton->AutoRedraw(); },
         [](B &b, const QVariant &v) { b.picButton->setAutoRedraw(v.toBool()); }},
        {"BackColor", Kind::Color, constant<OleColor(forms::SystemColor::ButtonFace)>, nullptr,
         Kept::InConstituent, [](const B &b) { return QVariant::fromValue(b.BackColor()); },
         [](B &b, const QVariant &v) {
             b.picButton->setBackColor(v.value<OleColor>());
             b.picBuffer->setBackColor(v.value<OleColor>());
         }},
        {"Font", Kind::Font, ambient, nullptr, Kept::InConstituentReadBySetter,
         [](const B &b) { return QVariant::fromValue(b.Font()); },
         [](B &b, const QVariant &v) {
             b.picButton->setFont(v.value<StdFont>());
             b.picBuffer->setFont(v.value<StdFont>());
         }},
        {"ForeColor", Kind::Color, constant<OleColor(forms::SystemColor::ButtonText)>,
         constant<OleColor(forms::SystemColor::WindowText)>, Kept::InConstituent,
         [](const B &b) { return QVariant::fromValue(b.ForeColor()); },
         [](B &b, const QVariant &v) {
             b.picButton->setForeColor(v.value<OleColor>());
             b.picBuffer->setForeColor(v.value<OleColor>());
         }},
        {"MouseIcon", Kind::Picture, none, nullptr, Kept::InConstituentReadBySetter,
         [](const B &b) { return QVariant::fromValue(b.MouseIcon()); },
         [](B &b, const QVariant &v) { b.picButton->setMouseIcon(v.value<StdPicture>()); }},
        {"MousePointer", Kind::Integer, constant<qint16(0)>, nullptr, Kept::InConstituent,
         [](const B &b) { return QVariant::fromValue(b.MousePointer()); },
         [](B &b, const QVariant &v) { b.picButton->setMousePointer(v.value<qint16>()); }},
        {"Picture", Kind::Picture, none, nullptr, Kept::InConstituentReadBySetter,
         [](const B &b) { return QVariant::fromValue(b.Picture()); },
         [](B &b, const QVariant &v) { b.imgPicture.setPicture(v.value<StdPicture>()); }},
        {"Caption", Kind::Text, [](const B &) -> QVariant { return QStringLiteral("LumoButton"); },
         nullptr, Kept::InField, fieldValue<QString, &B::m_Caption>,
         assignField<QString, &B::m_Caption>},
        {"Delta", Kind::Integer, constant<qint16(45)>, nullptr, Kept::InField,
         fieldValue<qint16, &B::m_Delta>, assignField<qint16, &B::m_Delta>},
        {"LightBorderColor", Kind::Color, constant<OleColor(0xFFFFFF)>, nullptr, Kept::InField,
         fieldValue<OleColor, &B::m_LightBorderColor>,
         assignField<OleColor, &B::m_LightBorderColor>},
        {"DarkBorderColor", Kind::Color, constant<OleColor(0x808080)>, nullptr, Kept::InField,
         fieldValue<OleColor, &B::m_DarkBorderColor>, assignField<OleColor, &B::m_DarkBorderColor>},
        {"Alignment", Kind::Integer, constant<qint16(0)>, nullptr, Kept::InField,
         fieldValue<qint16, &B::m_Alignment>, assignField<qint16, &B::m_Alignment>},
        {"SelectedPicture", Kind::Picture, none, nullptr, Kept::InConstituent,
         [](const B &b) { return QVariant::fromValue(b.SelectedPicture()); },
         [](B &b, const QVariant &v) { b.imgSelected.setPicture(v.value<StdPicture>()); }},
        {"PressedPicture", Kind::Picture, none, nullptr, Kept::InConstituent,
         [](const B &b) { return QVariant::fromValue(b.PressedPicture()); },
         [](B &b, const QVariant &v) { b.imgPressed.setPicture(v.value<StdPicture>()); }},
        {"FontSelected", Kind::Font, ambient, nullptr, Kept::InField,
         fieldValue<StdFont, &B::m_FontSelected>, assignField<StdFont, &B::m_FontSelected>},
        {"FontPressed", Kind::Font, ambient, nullptr, Kept::InField,
         fieldValue<StdFont, &B::m_FontPressed>, assignField<StdFont, &B::m_FontPressed>},
        {"ForeColorSelected", Kind::Color, constant<OleColor(0)>, nullptr, Kept::InField,
         fieldValue<OleColor, &B::m_ForeColorSelected>,
         assignField<OleColor, &B::m_ForeColorSelected>},
        {"ForeColorPressed", Kind::Color, constant<OleColor(0)>, nullptr, Kept::InField,
         fieldValue<OleColor, &B::m_ForeColorPressed>,
         assignField<OleColor, &B::m_ForeColorPressed>},
        {"Switch", Kind::Boolean, constant<false>, nullptr, Kept::InField,
         fieldValue<bool, &B::m_Switch>, assignField<bool, &B::m_Switch>},
        {"Value", Kind::Boolean, constant<false>, nullptr, Kept::InField,
         [](const B &b) -> QVariant { return b.m_state.value; },
         [](B &b, const QVariant &v) { b.m_state.value = v.toBool(); }},
        {"Shift", Kind::Integer, constant<qint16(15)>, nullptr, Kept::InField,
         fieldValue<qint16, &B::m_Shift>, assignField<qint16, &B::m_Shift>},
        {"ToolTipText", Kind::Text, noText,
         [](const B &) -> QVariant { return QStringLiteral("this is the test"); },
         Kept::InConstituent, [](const B &b) -> QVariant { return b.ToolTipText(); },
         [](B &b, const QVariant &v) { b.picButton->setToolTipText(v.toString()); }},
    }};
    return rows;
}

const LumoButtonProperty *LumoButtonProperties::find(QAnyStringView name)
{
    for (const LumoButtonProperty &property : all()) {
        if (QAnyStringView::compare(name, QLatin1String(property.name)) == 0)
            return &property;
    }
    return nullptr;
}

// ---- Persistence ---------------------------------------------------------------------------

// The constituents take their starting values as the button is made.
void LumoButton::setUpConstituents()
{
    for (const LumoButtonProperty &property : LumoButtonProperties::all()) {
        if (property.kept != Kept::InField)
            property.assign(*this, property.startValue(*this));
    }
}

// A newly placed button: its fields take their starting values directly, without a redraw or a
// change notification; the constituents keep what they were made with.
void LumoButton::InitProperties()
{
    for (const LumoButtonProperty &property : LumoButtonProperties::all()) {
        if (property.kept == Kept::InField)
            property.assign(*this, property.startValue(*this));
    }
}

// Loading writes the design-time-only fields directly too, so it works while the window runs.
// The setters it goes through report their change but draw nothing: a face composed from half
// the set would be drawn over by the first paint, which composes the resting face from all of it.
void LumoButton::ReadProperties(const forms::PropertyBag &bag)
{
    const QScopedValueRollback reading(m_readingStoredSet, true);
    for (const LumoButtonProperty &property : LumoButtonProperties::all()) {
        const QVariant stored =
            bag.ReadProperty(QLatin1String(property.name), property.storedDefault(*this));
        if (property.kept == Kept::InConstituentReadBySetter)
            setProperty(property.name, property.converted(stored));
        else
            property.assign(*this, property.converted(stored));
    }
}

void LumoButton::WriteProperties(forms::PropertyBag &bag) const
{
    for (const LumoButtonProperty &property : LumoButtonProperties::all())
        bag.WriteProperty(QLatin1String(property.name), property.value(*this),
                          property.storedDefault(*this));
}
