#include "lumobutton.h"

#include "conversions.h"
#include "lumobuttonaccessible.h"
#include "picturebox.h"
#include "propertybag.h"
#include "runtimeerror.h"
#include "twips.h"

#include <QCursor>
#include <QScopedValueRollback>
#include <QTextBoundaryFinder>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <cmath>
#include <limits>

using forms::OleColor;
using forms::StdFont;
using forms::StdPicture;

namespace {

constexpr OleColor White = 0xFFFFFF;
constexpr OleColor Grey = 0x808080;
constexpr qint16 DefaultDelta = 45;
constexpr qint16 DefaultShift = 15;
const QString DefaultCaption = QStringLiteral("LumoButton");
constexpr int CaptureInterval = 100;

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

LumoButton::LumoButton(QWidget *parent)
    : forms::UserControl(parent), picButton(new forms::PictureBox(this)),
      picBuffer(new forms::PictureBox(this)), timCapture(new QTimer(this))
{
    // Screen metrics are taken once, when the button is created.
    m_TwipsPerPixelX = qint32(std::lround(forms::TwipsPerPixelX()));
    m_TwipsPerPixelY = qint32(std::lround(forms::TwipsPerPixelY()));

    picButton->setObjectName(QStringLiteral("picButton"));
    picButton->setForeColor(forms::SystemColor::WindowText);
    picButton->setBackColor(forms::SystemColor::ButtonFace);
    picButton->setFont(AmbientFont());
    picButton->setAutoRedraw(true);
    picButton->setToolTipText(QStringLiteral("this is the test"));
    picButton->setFocusPolicy(Qt::StrongFocus);
    picButton->Move(90, 90, 2535, 1500);
    setFocusProxy(picButton);
    installLumoButtonAccessibility();

    picBuffer->setObjectName(QStringLiteral("picBuffer"));
    picBuffer->setFont(AmbientFont());
    picBuffer->setAutoRedraw(true);
    picBuffer->setVisible(false);
    picBuffer->Move(1665, 1755, 2760, 1500);

    timCapture->setObjectName(QStringLiteral("timCapture"));
    timCapture->setInterval(CaptureInterval);

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
    connect(timCapture, &QTimer::timeout, this,
            [this] { forms::dispatchEvent([this] { timCapture_Timer(); }); });

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

// ---- Composition ---------------------------------------------------------------------------

// Once created, the surfaces are placed by nothing but this, so the place last given is their
// place as long as their pixels agree; reading it back would be a property look-up per face.
forms::TwipsRect LumoButton::Placement::of(const forms::PictureBox *surface)
{
    if (!known || surface->geometry() != pixels)
        return forms::twipsGeometry(surface);
    return twips;
}

// A move to the same place changes nothing and costs about a tenth of drawing a face.
void LumoButton::Placement::place(forms::PictureBox *surface, float width, float height)
{
    const forms::TwipsRect wanted{0, 0, width, height};
    if (of(surface) == wanted)
        return;
    surface->Move(0, 0, width, height);
    known = true;
    twips = wanted;
    pixels = surface->geometry();
}

void LumoButton::compose(const Face &face)
{
    const forms::ImageHolder &holder = *face.holder;
    // Each stored size is read once: reading one is a property look-up, and faces are drawn
    // at every pointer crossing.
    const forms::TwipsRect control = forms::twipsGeometry(this);
    const forms::TwipsRect source = face.bufferFromControl ? control : m_buttonPlace.of(picButton);
    m_bufferPlace.place(picBuffer, source.width, source.height);
    // The visible surface takes its new size before its scale is copied: after a resize it
    // still has the old one, and a face laid out in that scale would be distorted.
    if (face.sizeVisible)
        m_buttonPlace.place(picButton, control.width, control.height);
    // One logical unit covers the same distance on both surfaces.
    picBuffer->setScaleWidth(picButton->ScaleWidth());
    picBuffer->setScaleHeight(picButton->ScaleHeight());
    picBuffer->Cls();

    const float L = picBuffer->ScaleLeft(), T = picBuffer->ScaleTop();
    const float W = picBuffer->ScaleWidth(), H = picBuffer->ScaleHeight();
    switch (face.background) {
    case Background::Fill:
        picBuffer->Line(L, T, L + W, T + H, picBuffer->BackColor());
        break;
    case Background::Raised:
        drawEdge(m_LightBorderColor, m_DarkBorderColor);
        break;
    case Background::Sunken:
        drawEdge(m_DarkBorderColor, m_LightBorderColor);
        break;
    case Background::None:
        break;
    }
    if (face.font)
        picBuffer->setFont(*face.font);
    if (face.foreColor)
        picBuffer->setForeColor(*face.foreColor);

    // A caption that is printed as one shaped line is placed by the line's own size.
    const forms::MarkedText *line = face.printMarkers ? nullptr : shapedLineOf(m_Caption);
    const QString &placed = line ? line->text : m_Caption;
    const float tw = picBuffer->TextWidth(placed);
    const float th = picBuffer->TextHeight(placed);
    placeContent(holder, tw, th, face.offset);
    if (face.printMarkers)
        picBuffer->Print(m_Caption);
    else
        PrintCaption(m_Caption);
    picBuffer->Refresh();

    picButton->PaintPicture(picBuffer->Image(), 0, 0);
    picButton->Refresh();
}

// Four one-pixel edges; the bottom-right colour is drawn last and so takes the top-right and
// bottom-left corners.
void LumoButton::drawEdge(OleColor topLeft, OleColor bottomRight)
{
    const float L = picBuffer->ScaleLeft(), T = picBuffer->ScaleTop();
    const float W = picBuffer->ScaleWidth(), H = picBuffer->ScaleHeight();
    const float px = float(m_TwipsPerPixelX), py = float(m_TwipsPerPixelY);
    picBuffer->Line(L, T, L + W, T, topLeft);
    picBuffer->Line(L, T, L, T + H, topLeft);
    picBuffer->Line(L + W - px, T, L + W - px, T + H - py, bottomRight);
    picBuffer->Line(L, T + H - py, L + W - px, T + H - py, bottomRight);
}

// Places the picture and sets the caption position. All arithmetic is single precision and a
// halved distance keeps its fraction; s is the pressed face's offset, which the picture-above
// layout applies twice horizontally.
void LumoButton::placeContent(const forms::ImageHolder &holder, float tw, float th, float s)
{
    const float L = picBuffer->ScaleLeft(), T = picBuffer->ScaleTop();
    const float W = picBuffer->ScaleWidth(), H = picBuffer->ScaleHeight();
    const float D = float(m_Delta);
    if (!holder.hasPicture()) {
        picBuffer->setCurrentX((W - tw - L) / 2 + L + s);
        picBuffer->setCurrentY((H - th - T) / 2 + T + s);
        return;
    }
    const float pw = holder.Width(), ph = holder.Height();
    float x, y, captionX, captionY;
    switch (m_Alignment) {
    case 0: // picture left
        x = L + D + s;
        y = (H - T - ph) / 2 + T + s;
        captionX = (W - pw - tw - L) / 2 + pw + L + s;
        captionY = (H - th - T) / 2 + T + s;
        break;
    case 1: // picture right
        x = W + L - D - pw + s;
        y = (H - T - ph) / 2 + T + s;
        captionX = L + D + s;
        captionY = (H - th - T) / 2 + T + s;
        break;
    default: // picture above the caption
        x = (W - L - pw) / 2 + L + 2 * s;
        y = T + D + s;
        captionX = (W - tw - L) / 2 + L + 2 * s;
        captionY = T + D + ph + D + s;
        break;
    }
    picBuffer->PaintPicture(holder.Picture().image(), x, y);
    picBuffer->setCurrentX(captionX);
    picBuffer->setCurrentY(captionY);
}

// Each "&" is dropped and underlines the next printed character; two in a row print nothing and
// underline the character after them, and a trailing one leaves the underline set. A caption in
// a script that must be shaped whole is printed as one line with the marked characters
// underlined where they show; any other is printed one character after another.
void LumoButton::PrintCaption(const QString &text)
{
    if (const forms::MarkedText *line = shapedLineOf(text)) {
        picBuffer->Print(line->text, line->underlined);
        if (line->endsWithMarker)
            picBuffer->setFontUnderline(true);
        return;
    }
    bool underlinePending = false;
    for (const QString &c : charactersOf(text)) {
        if (c == u"&") {
            picBuffer->setFontUnderline(true);
            underlinePending = true;
            continue;
        }
        picBuffer->Print(c);
        if (underlinePending) {
            picBuffer->setFontUnderline(false);
            underlinePending = false;
        }
    }
}

// The caption's user-perceived characters, split once per caption.
const QStringList &LumoButton::charactersOf(const QString &text)
{
    if (text != m_charactersOf) {
        m_characters.clear();
        QTextBoundaryFinder characters(QTextBoundaryFinder::Grapheme, text);
        qsizetype start = 0;
        for (qsizetype end = characters.toNextBoundary(); end != -1;
             start = end, end = characters.toNextBoundary())
            m_characters.append(text.mid(start, end - start));
        m_charactersOf = text;
    }
    return m_characters;
}

// The caption without its markers, for a caption that must be shaped whole; null for any
// other. Worked out once per caption.
const forms::MarkedText *LumoButton::shapedLineOf(const QString &text)
{
    if (text != m_shapedLineOf) {
        m_shapedLine.reset();
        if (forms::needsShaping(text))
            m_shapedLine = forms::takeMarkers(charactersOf(text));
        m_shapedLineOf = text;
    }
    return m_shapedLine ? &*m_shapedLine : nullptr;
}

void LumoButton::Refresh()
{
    compose({&imgPicture, true, Background::Fill, nullptr, std::nullopt, 0, true, true});
}

void LumoButton::DrawUnselected()
{
    // A switch that is on shows SelectedPicture, or no picture when it has none.
    const forms::ImageHolder &holder = m_Switch && m_Value ? imgSelected : imgPicture;
    const StdFont font = picButton->Font();
    compose({&holder, true, Background::None, &font, picButton->ForeColor(), 0, false, true});
}

void LumoButton::DrawSelected()
{
    const forms::ImageHolder *holder;
    if (m_Switch)
        holder = m_Value ? &imgSelected : &imgPicture;
    else
        holder = imgSelected.hasPicture() ? &imgSelected : &imgPicture;
    compose(
        {holder, false, Background::Raised, &m_FontSelected, m_ForeColorSelected, 0, false, false});
}

void LumoButton::DrawPressed()
{
    const forms::ImageHolder *holder;
    if (m_Switch)
        holder = m_Value ? &imgSelected : &imgPicture;
    else
        holder = imgPressed.hasPicture() ? &imgPressed : &imgPicture;
    compose({holder, false, Background::Sunken, &m_FontPressed, m_ForeColorPressed, float(m_Shift),
             false, false});
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
    const bool changed = value != m_Value;
    m_Value = value;
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

// ---- Interaction ---------------------------------------------------------------------------

bool LumoButton::isCapturing() const
{
    return timCapture->isActive();
}

void LumoButton::StartCapture()
{
    watchWindowForLeave();
    m_PointerInside = true;
    // Enabling a running timer leaves its period as it is.
    if (!timCapture->isActive())
        timCapture->start();
    emit MouseEnter();
}

void LumoButton::picButton_MouseMove(float X, float Y)
{
    if (!m_PointerInside) {
        m_PointerInside = true;
        StartCapture();
        DrawSelected();
    }
    // The edges count as inside.
    const float left = picButton->ScaleLeft(), top = picButton->ScaleTop();
    const float right = left + picButton->ScaleWidth();
    const float bottom = top + picButton->ScaleHeight();
    if (X < left || Y < top || X > right || Y > bottom) {
        DrawUnselected();
        m_PointerInside = false;
    }
}

void LumoButton::picButton_MouseDown()
{
    m_Value = !m_Value;
    LumoButtonAccessible::announceValue(this);
    DrawPressed();
    StartCapture();
}

// The release clicks wherever the pointer is; the face last drawn stays until the next draw.
void LumoButton::picButton_MouseUp()
{
    StartCapture();
    m_PointerInside = false;
    emit Click();
}

// The pointer counts as outside once the window system has taken it out of the button's window:
// the pointer position the toolkit reports is then only the last one the window saw.
void LumoButton::timCapture_Timer()
{
    if (!m_windowLostPointer && pointerOverFace())
        return;
    DrawUnselected();
    m_PointerInside = false;
    timCapture->stop();
    emit MouseExit();
}

// The face's screen rectangle, whose right is left + width and bottom top + height; all four
// bounds count as inside.
bool LumoButton::pointerOverFace() const
{
    const QRect face(picButton->mapToGlobal(QPoint(0, 0)), picButton->size());
    const int left = face.x(), top = face.y();
    const int right = left + face.width(), bottom = top + face.height();
    const QPoint pointer = QCursor::pos();
    return pointer.x() >= left && pointer.x() <= right && pointer.y() >= top &&
           pointer.y() <= bottom;
}

// A pointer event on the face means the window holds the pointer now. Only the window system's
// own crossing notifications count afterwards: a modal box that blocks the window also sends it
// a leave, but the pointer is still where it was.
void LumoButton::watchWindowForLeave()
{
    m_windowLostPointer = false;
    QWindow *current = window()->windowHandle();
    if (current == m_pointerWindow)
        return;
    if (m_pointerWindow)
        m_pointerWindow->removeEventFilter(this);
    m_pointerWindow = current;
    if (current)
        current->installEventFilter(this);
}

bool LumoButton::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_pointerWindow && event->spontaneous()) {
        if (event->type() == QEvent::Leave)
            m_windowLostPointer = true;
        else if (event->type() == QEvent::Enter)
            m_windowLostPointer = false;
    }
    return forms::UserControl::eventFilter(watched, event);
}

void LumoButton::picButton_LostFocus()
{
    if (!m_PointerInside)
        DrawUnselected();
}

void LumoButton::picButton_KeyPress(qint16 &KeyAscii)
{
    emit KeyPress(KeyAscii);
}

void LumoButton::UserControl_Paint()
{
    DrawUnselected();
}

void LumoButton::UserControl_Resize()
{
    DrawUnselected();
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
