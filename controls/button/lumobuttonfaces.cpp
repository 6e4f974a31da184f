// LumoButton's faces: the three looks, where the picture and the caption go, and the caption
// printer.
#include "lumobutton.h"

#include "picturebox.h"

#include <QTextBoundaryFinder>

using forms::OleColor;
using forms::StdFont;
using forms::StdPicture;

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
    if (m_readingStoredSet)
        return;
    compose({.holder = &imgPicture,
             .bufferFromControl = true,
             .background = Background::Fill,
             .printMarkers = true,
             .sizeVisible = true});
}

void LumoButton::DrawUnselected()
{
    // A switch that is on shows SelectedPicture, or no picture when it has none.
    const forms::ImageHolder &holder = m_Switch && m_state.value ? imgSelected : imgPicture;
    const StdFont font = picButton->Font();
    compose({.holder = &holder,
             .bufferFromControl = true,
             .background = Background::None,
             .font = &font,
             .foreColor = picButton->ForeColor(),
             .sizeVisible = true});
}

void LumoButton::DrawSelected()
{
    const forms::ImageHolder *holder;
    if (m_Switch)
        holder = m_state.value ? &imgSelected : &imgPicture;
    else
        holder = imgSelected.hasPicture() ? &imgSelected : &imgPicture;
    compose({.holder = holder,
             .background = Background::Raised,
             .font = &m_FontSelected,
             .foreColor = m_ForeColorSelected});
}

void LumoButton::DrawPressed()
{
    const forms::ImageHolder *holder;
    if (m_Switch)
        holder = m_state.value ? &imgSelected : &imgPicture;
    else
        holder = imgPressed.hasPicture() ? &imgPressed : &imgPicture;
    compose({.holder = holder,
             .background = Background::Sunken,
             .font = &m_FontPressed,
             .foreColor = m_ForeColorPressed,
             .offset = float(m_Shift)});
}
