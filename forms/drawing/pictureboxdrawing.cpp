// PictureBox's drawing operations: lines, pictures and text at the current position, in the
// surface's scale.
#include "picturebox.h"

#include "twips.h"

#include <QTextLine>

#include <algorithm>
#include <cmath>

namespace forms {

void PictureBox::Line(float x1, float y1, float x2, float y2, OleColor color)
{
    if (beginPainting()) {
        const int px1 = toPixelX(x1), px2 = toPixelX(x2);
        const int py1 = toPixelY(y1), py2 = toPixelY(y2);
        Step fill(Step::Fill);
        fill.box = QRect(QPoint(std::min(px1, px2), std::min(py1, py2)),
                         QPoint(std::max(px1, px2), std::max(py1, py2)));
        fill.ratio = m_image.devicePixelRatio();
        if (fill.ratio != 1)
            fill.box = toDevicePixels(fill.box, fill.ratio);
        fill.color = toQColor(color, palette());
        paintStep(std::move(fill));
    }
    m_currentX = x2;
    m_currentY = y2;
}

// A box of whole pixels on a scaled screen: each side goes to the nearest device pixel boundary,
// and a box keeps as many device pixels across as its pixels round to, a box at the far edge of
// the image growing inwards, so that one-pixel edges are equally thick on all four sides.
QRect PictureBox::toDevicePixels(const QRect &box, qreal ratio) const
{
    const auto span = [ratio](int first, int last, int limit) {
        int start = qRound(first * ratio);
        int end = std::min(qRound((last + 1) * ratio), limit);
        const int wanted = std::max(1, qRound((last - first + 1) * ratio));
        if (end - start < wanted) {
            if (end >= limit)
                start = end - wanted;
            else
                end = start + wanted;
        }
        return std::pair{start, end};
    };
    const auto [left, right] = span(box.left(), box.right(), m_image.width());
    const auto [top, bottom] = span(box.top(), box.bottom(), m_image.height());
    return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

void PictureBox::PaintPicture(const QImage &picture, float x, float y)
{
    if (picture.isNull() || !beginPainting())
        return;
    Step paint(Step::Picture);
    paint.box = QRect(QPoint(toPixelX(x), toPixelY(y)), picture.size());
    paint.picture = drawable(picture);
    paintStep(std::move(paint));
}

float PictureBox::TextWidth(const QString &text) const
{
    return float(m_text.advance(text) * unitsPerPixelX());
}

float PictureBox::TextHeight(const QString &text) const
{
    Q_UNUSED(text)
    return float(m_text.lineHeight() * unitsPerPixelY());
}

void PictureBox::Print(const QString &text)
{
    if (!beginPainting()) {
        m_currentX += TextWidth(text);
        return;
    }
    qreal advance = 0;
    std::shared_ptr<const TextCache::Shaped> shaped = m_text.shaped(text, &advance);
    // An underline or strikeout of text that takes no room (a control character on its own) is
    // no line at all; Qt 6.4 drew it as a dot, later versions draw nothing. It is drawn plain.
    const bool decorated = m_font.underline || m_font.strikethrough;
    if (advance == 0 && decorated) {
        StdFont plain = m_font;
        plain.underline = plain.strikethrough = false;
        m_text.select(plain);
        shaped = m_text.shaped(text, &advance);
    }
    Step print(Step::Text);
    print.shaped = std::move(shaped);
    if (!print.shaped) {
        print.font = m_text.font();
        print.text = text;
    }
    print.color = textColor();
    print.origin = QPointF(toPixelX(m_currentX), toPixelY(m_currentY) + m_text.ascent());
    if (advance == 0 && decorated)
        m_text.select(m_font);
    paintStep(std::move(print));
    m_currentX += float(advance * unitsPerPixelX());
}

// An underlined font would split the text where the underline starts and ends, and each piece
// would be shaped apart, unjoined from its neighbours. So the line is printed whole and the
// underline is drawn under the characters as Qt draws one: from the whole pixel at or left of
// their start to the one at or left of their end, on the first whole pixel row at or below the
// font's underline position.
void PictureBox::Print(const QString &text, const QList<TextSpan> &underlined)
{
    const float x = m_currentX, y = m_currentY;
    Print(text);
    if (underlined.isEmpty() || !beginPainting())
        return;
    qreal advance = 0;
    const std::shared_ptr<const TextCache::Shaped> shaped = m_text.shaped(text, &advance);
    if (!shaped || shaped->layout.lineCount() == 0)
        return;
    const QTextLine line = shaped->layout.lineAt(0);
    const QPointF origin(toPixelX(x), toPixelY(y) + m_text.ascent());
    const qreal thickness = std::max<qreal>(1, m_text.lineWidth());
    const qreal top = origin.y() + std::ceil(m_text.underlinePosition()) + 0.5 - thickness / 2;
    const QColor color = textColor();
    for (const TextSpan &span : underlined) {
        const qreal from = line.cursorToX(int(span.start));
        const qreal to = line.cursorToX(int(span.start + span.length));
        const qreal left = std::floor(origin.x() + std::min(from, to));
        const qreal right = std::floor(origin.x() + std::max(from, to));
        if (right > left)
            fillPixels(QRectF(left, top, right - left, thickness), color);
    }
}

// A box in pixels, filled at the device pixels it covers.
void PictureBox::fillPixels(const QRectF &area, const QColor &color)
{
    Step fill(Step::Fill);
    fill.ratio = m_image.devicePixelRatio();
    const qreal r = fill.ratio;
    const int left = qRound(area.left() * r), top = qRound(area.top() * r);
    const int right = std::max(left + 1, qRound(area.right() * r));
    const int bottom = std::max(top + 1, qRound(area.bottom() * r));
    fill.box = QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
    fill.color = color;
    paintStep(std::move(fill));
}

// A caption prints one character at a time in one colour, which is resolved once.
QColor PictureBox::textColor()
{
    const qint64 paletteKey = palette().cacheKey();
    if (m_textColorOf != m_foreColor || m_textColorPalette != paletteKey) {
        m_textColor = toQColor(m_foreColor, palette());
        m_textColorOf = m_foreColor;
        m_textColorPalette = paletteKey;
    }
    return m_textColor;
}

void PictureBox::setFontUnderline(bool underline)
{
    m_font.underline = underline;
    m_text.select(m_font);
}

void PictureBox::setFont(const StdFont &font)
{
    if (font == m_font)
        return;
    m_font = font;
    m_text.select(m_font);
}

} // namespace forms
