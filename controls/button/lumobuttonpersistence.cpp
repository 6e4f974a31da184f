// LumoButton's stored property set: the defaults of a new button, reading and writing.
#include "lumobutton.h"

#include "conversions.h"
#include "picturebox.h"
#include "propertybag.h"

using forms::OleColor;
using forms::StdFont;
using forms::StdPicture;

namespace {

constexpr OleColor White = 0xFFFFFF;
constexpr OleColor Grey = 0x808080;
constexpr qint16 DefaultDelta = 45;
constexpr qint16 DefaultShift = 15;
const QString DefaultCaption = QStringLiteral("LumoButton");

QVariant colorValue(OleColor value)
{
    return QVariant::fromValue<quint32>(value);
}

QVariant integerValue(qint16 value)
{
    return QVariant::fromValue<qint16>(value);
}

QVariant pictureValue(const StdPicture &value)
{
    return QVariant::fromValue(value);
}

QVariant fontValue(const StdFont &value)
{
    return QVariant::fromValue(value);
}

} // namespace

// ---- Persistence ---------------------------------------------------------------------------

// A newly placed button: its fields take their defaults directly, without a redraw or a change
// notification; everything else keeps the constituents' own settings.
void LumoButton::InitProperties()
{
    m_Caption = DefaultCaption;
    m_Delta = DefaultDelta;
    m_LightBorderColor = White;
    m_DarkBorderColor = Grey;
    m_Alignment = 0;
    m_FontSelected = AmbientFont();
    m_FontPressed = AmbientFont();
    m_ForeColorSelected = 0;
    m_ForeColorPressed = 0;
    m_Switch = false;
    m_Value = false;
    m_Shift = DefaultShift;
}

void LumoButton::ReadProperties(const forms::PropertyBag &bag)
{
    using namespace forms;
    const StdFont ambient = AmbientFont();
    picButton->setAutoRedraw(toBoolean(bag.ReadProperty(QStringLiteral("AutoRedraw"), false)));
    picButton->setBackColor(toColor(
        bag.ReadProperty(QStringLiteral("BackColor"), colorValue(SystemColor::ButtonFace))));
    picBuffer->setBackColor(picButton->BackColor());
    setFont(toFont(bag.ReadProperty(QStringLiteral("Font"), fontValue(ambient))));
    picButton->setForeColor(toColor(
        bag.ReadProperty(QStringLiteral("ForeColor"), colorValue(SystemColor::ButtonText))));
    picBuffer->setForeColor(picButton->ForeColor());
    setMouseIcon(toPicture(bag.ReadProperty(QStringLiteral("MouseIcon"), pictureValue({}))));
    picButton->setMousePointer(
        toInteger(bag.ReadProperty(QStringLiteral("MousePointer"), integerValue(0))));
    setPicture(toPicture(bag.ReadProperty(QStringLiteral("Picture"), pictureValue({}))));
    m_Caption = toText(bag.ReadProperty(QStringLiteral("Caption"), DefaultCaption));
    m_Delta = toInteger(bag.ReadProperty(QStringLiteral("Delta"), integerValue(DefaultDelta)));
    m_LightBorderColor =
        toColor(bag.ReadProperty(QStringLiteral("LightBorderColor"), colorValue(White)));
    m_DarkBorderColor =
        toColor(bag.ReadProperty(QStringLiteral("DarkBorderColor"), colorValue(Grey)));
    // Loading writes the design-time-only fields directly, so it works while the window runs.
    m_Alignment = toInteger(bag.ReadProperty(QStringLiteral("Alignment"), integerValue(0)));
    imgSelected.setPicture(
        toPicture(bag.ReadProperty(QStringLiteral("SelectedPicture"), pictureValue({}))));
    imgPressed.setPicture(
        toPicture(bag.ReadProperty(QStringLiteral("PressedPicture"), pictureValue({}))));
    m_FontSelected = toFont(bag.ReadProperty(QStringLiteral("FontSelected"), fontValue(ambient)));
    m_FontPressed = toFont(bag.ReadProperty(QStringLiteral("FontPressed"), fontValue(ambient)));
    m_ForeColorSelected =
        toColor(bag.ReadProperty(QStringLiteral("ForeColorSelected"), colorValue(0)));
    m_ForeColorPressed =
        toColor(bag.ReadProperty(QStringLiteral("ForeColorPressed"), colorValue(0)));
    m_Switch = toBoolean(bag.ReadProperty(QStringLiteral("Switch"), integerValue(0)));
    m_Value = toBoolean(bag.ReadProperty(QStringLiteral("Value"), integerValue(0)));
    m_Shift = toInteger(bag.ReadProperty(QStringLiteral("Shift"), integerValue(DefaultShift)));
    picButton->setToolTipText(toText(bag.ReadProperty(QStringLiteral("ToolTipText"), QString())));
}

void LumoButton::WriteProperties(forms::PropertyBag &bag) const
{
    using namespace forms;
    const StdFont ambient = AmbientFont();
    bag.WriteProperty(QStringLiteral("AutoRedraw"), picButton->AutoRedraw(), false);
    bag.WriteProperty(QStringLiteral("BackColor"), colorValue(picButton->BackColor()),
                      colorValue(SystemColor::ButtonFace));
    bag.WriteProperty(QStringLiteral("Font"), fontValue(Font()), fontValue(ambient));
    bag.WriteProperty(QStringLiteral("ForeColor"), colorValue(picButton->ForeColor()),
                      colorValue(SystemColor::ButtonText));
    bag.WriteProperty(QStringLiteral("MouseIcon"), pictureValue(MouseIcon()), pictureValue({}));
    bag.WriteProperty(QStringLiteral("MousePointer"), integerValue(picButton->MousePointer()),
                      integerValue(0));
    bag.WriteProperty(QStringLiteral("Picture"), pictureValue(Picture()), pictureValue({}));
    bag.WriteProperty(QStringLiteral("Caption"), m_Caption, DefaultCaption);
    bag.WriteProperty(QStringLiteral("Delta"), integerValue(m_Delta), integerValue(DefaultDelta));
    bag.WriteProperty(QStringLiteral("LightBorderColor"), colorValue(m_LightBorderColor),
                      colorValue(White));
    bag.WriteProperty(QStringLiteral("DarkBorderColor"), colorValue(m_DarkBorderColor),
                      colorValue(Grey));
    bag.WriteProperty(QStringLiteral("Alignment"), integerValue(m_Alignment), integerValue(0));
    bag.WriteProperty(QStringLiteral("SelectedPicture"), pictureValue(SelectedPicture()),
                      pictureValue({}));
    bag.WriteProperty(QStringLiteral("PressedPicture"), pictureValue(PressedPicture()),
                      pictureValue({}));
    bag.WriteProperty(QStringLiteral("FontSelected"), fontValue(m_FontSelected),
                      fontValue(ambient));
    bag.WriteProperty(QStringLiteral("FontPressed"), fontValue(m_FontPressed), fontValue(ambient));
    bag.WriteProperty(QStringLiteral("ForeColorSelected"), colorValue(m_ForeColorSelected),
                      colorValue(0));
    bag.WriteProperty(QStringLiteral("ForeColorPressed"), colorValue(m_ForeColorPressed),
                      colorValue(0));
    bag.WriteProperty(QStringLiteral("Switch"), m_Switch, integerValue(0));
    bag.WriteProperty(QStringLiteral("Value"), m_Value, integerValue(0));
    bag.WriteProperty(QStringLiteral("Shift"), integerValue(m_Shift), integerValue(DefaultShift));
    bag.WriteProperty(QStringLiteral("ToolTipText"), picButton->ToolTipText(), QString());
}
