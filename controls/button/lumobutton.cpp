// LumoButton: its constituents, its properties and its size. The faces, the pointer handling,
// the stored property set and the Qt-typed views are in lumobuttonfaces.cpp,
// lumobuttoninteraction.cpp, lumobuttonproperties.cpp and lumobuttonviews.cpp.
#include "lumobutton.h"

#include "lumobuttonaccessible.h"
#include "picturebox.h"
#include "pointerwatch.h"
#include "runtimeerror.h"
#include "twips.h"

#include <QEvent>
#include <QFontMetrics>

#include <algorithm>
#include <cmath>

using forms::OleColor;
using forms::StdFont;
using forms::StdPicture;

LumoButton::LumoButton(QWidget *parent)
    : forms::UserControl(parent), picButton(new forms::PictureBox(this)),
      picBuffer(new forms::PictureBox(this)), m_pointerWatch(new PointerWatch(picButton, this))
{
    // Screen metrics are taken once, when the button is created.
    m_TwipsPerPixelX = qint32(std::lround(forms::TwipsPerPixelX()));
    m_TwipsPerPixelY = qint32(std::lround(forms::TwipsPerPixelY()));

    picButton->setObjectName(QStringLiteral("picButton"));
    setUpConstituents();
    picButton->setFocusPolicy(Qt::StrongFocus);
    picButton->Move(90, 90, 2535, 1500);
    setFocusProxy(picButton);
    installLumoButtonAccessibility();

    picBuffer->setObjectName(QStringLiteral("picBuffer"));
    picBuffer->setAutoRedraw(true);
    picBuffer->setVisible(false);
    picBuffer->Move(1665, 1755, 2760, 1500);

    connect(picButton, &forms::PictureBox::MouseDown, this,
            [this](qint16, qint16, float, float) { picButton_MouseDown(); });
    connect(picButton, &forms::PictureBox::MouseMove, this,
            [this](qint16, qint16, float X, float Y) { picButton_MouseMove(X, Y); });
    connect(picButton, &forms::PictureBox::MouseUp, this,
            [this](qint16, qint16, float, float) { picButton_MouseUp(); });
    connect(picButton, &forms::PictureBox::LostFocus, this, [this] { picButton_LostFocus(); });
    connect(picButton, &forms::PictureBox::KeyPress, this,
            [this](qint16 &KeyAscii) { picButton_KeyPress(KeyAscii); });
    connect(picButton, &forms::PictureBox::Paint, this, [this] { UserControl_Paint(); });
    connect(m_pointerWatch, &PointerWatch::checked, this,
            [this](bool over) { forms::dispatchEvent([this, over] { timCapture_Timer(over); }); });

    // Built at its stored place, the button draws nothing until its stored properties are read;
    // its surfaces take its size now, as the first face would place them, so that what is cleared
    // on them meanwhile is cleared at that size and not at their design-time one.
    if (takeInitialPlace(4800, 3600)) {
        const forms::TwipsRect control = forms::twipsGeometry(this);
        m_bufferPlace.place(picBuffer, control.width, control.height);
        m_buttonPlace.place(picButton, control.width, control.height);
    }
}

LumoButton::~LumoButton() = default;

bool LumoButton::event(QEvent *event)
{
    if (event->type() == QEvent::Polish)
        m_polished = true;
    return forms::UserControl::event(event);
}

// ---- Properties ----------------------------------------------------------------------------

void LumoButton::requireDesignTime(const char *property) const
{
    if (UserMode() && !m_applyingDefinition)
        throw forms::RuntimeError::designTimeOnly(QString::fromLatin1(property));
}

OleColor LumoButton::BackColor() const
{
    return picButton->BackColor();
}

void LumoButton::setBackColor(OleColor color)
{
    picButton->setBackColor(color);
    picBuffer->setBackColor(color);
    Refresh();
    PropertyChanged(QStringLiteral("BackColor"));
}

StdFont LumoButton::Font() const
{
    return picButton->Font();
}

void LumoButton::setFont(const StdFont &font)
{
    picButton->setFont(font);
    picBuffer->setFont(font);
    Refresh();
    PropertyChanged(QStringLiteral("Font"));
}

OleColor LumoButton::ForeColor() const
{
    return picButton->ForeColor();
}

void LumoButton::setForeColor(OleColor color)
{
    picButton->setForeColor(color);
    picBuffer->setForeColor(color);
    Refresh();
    PropertyChanged(QStringLiteral("ForeColor"));
}

StdPicture LumoButton::MouseIcon() const
{
    return picButton->MouseIcon();
}

void LumoButton::setMouseIcon(const StdPicture &icon)
{
    picButton->setMouseIcon(icon);
    PropertyChanged(QStringLiteral("MouseIcon"));
}

qint16 LumoButton::MousePointer() const
{
    return picButton->MousePointer();
}

void LumoButton::setMousePointer(qint16 pointer)
{
    picButton->setMousePointer(pointer);
    PropertyChanged(QStringLiteral("MousePointer"));
}

void LumoButton::setPicture(const StdPicture &picture)
{
    imgPicture.setPicture(picture);
    Refresh();
    PropertyChanged(QStringLiteral("Picture"));
}

void LumoButton::setCaption(const QString &caption)
{
    m_Caption = caption;
    Refresh();
    LumoButtonAccessible::announceName(this);
    PropertyChanged(QStringLiteral("Caption"));
}

void LumoButton::setDelta(qint16 delta)
{
    m_Delta = delta;
    Refresh();
    PropertyChanged(QStringLiteral("Delta"));
}

void LumoButton::setLightBorderColor(OleColor color)
{
    m_LightBorderColor = color;
    PropertyChanged(QStringLiteral("LightBorderColor"));
}

void LumoButton::setDarkBorderColor(OleColor color)
{
    m_DarkBorderColor = color;
    PropertyChanged(QStringLiteral("DarkBorderColor"));
}

void LumoButton::setAlignment(qint16 alignment)
{
    requireDesignTime("Alignment");
    m_Alignment = alignment;
    Refresh();
    PropertyChanged(QStringLiteral("Alignment"));
}

void LumoButton::setSelectedPicture(const StdPicture &picture)
{
    imgSelected.setPicture(picture);
    PropertyChanged(QStringLiteral("SelectedPicture"));
}

void LumoButton::setPressedPicture(const StdPicture &picture)
{
    imgPressed.setPicture(picture);
    PropertyChanged(QStringLiteral("PressedPicture"));
}

void LumoButton::setFontSelected(const StdFont &font)
{
    m_FontSelected = font;
    PropertyChanged(QStringLiteral("FontSelected"));
}

void LumoButton::setFontPressed(const StdFont &font)
{
    m_FontPressed = font;
    PropertyChanged(QStringLiteral("FontPressed"));
}

void LumoButton::setForeColorSelected(OleColor color)
{
    m_ForeColorSelected = color;
    PropertyChanged(QStringLiteral("ForeColorSelected"));
}

void LumoButton::setForeColorPressed(OleColor color)
{
    m_ForeColorPressed = color;
    PropertyChanged(QStringLiteral("ForeColorPressed"));
}

void LumoButton::setSwitch(bool on)
{
    requireDesignTime("Switch");
    m_Switch = on;
    PropertyChanged(QStringLiteral("Switch"));
}

void LumoButton::setValue(bool value)
{
    const bool changed = value != m_state.value;
    m_state.value = value;
    if (changed)
        LumoButtonAccessible::announceValue(this);
    PropertyChanged(QStringLiteral("Value"));
}

void LumoButton::setShift(qint16 shift)
{
    requireDesignTime("Shift");
    m_Shift = shift;
    PropertyChanged(QStringLiteral("Shift"));
}

QString LumoButton::ToolTipText() const
{
    return picButton->ToolTipText();
}

void LumoButton::setToolTipText(const QString &text)
{
    picButton->setToolTipText(text);
    PropertyChanged(QStringLiteral("ToolTipText"));
}

QSize LumoButton::sizeHint() const
{
    const QFontMetrics metrics(Font().toQFont());
    QString shown = m_Caption;
    shown.remove(u'&');
    const QSize picture = imgPicture.Picture().size();
    const int margin = int(std::lround(m_Delta / float(m_TwipsPerPixelX)));
    const int width = metrics.horizontalAdvance(shown) + picture.width() + 3 * margin;
    const int height = std::max(metrics.height(), picture.height()) + 2 * margin;
    return QSize(width, height);
}
