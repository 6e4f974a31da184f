// PictureBox's rasteriser: the steps drawn into the image, glyphs of consecutive texts together.
#include "picturebox.h"

#include "surfaceimages.h"

#include <QGlyphRun>

#include <algorithm>
#include <utility>

namespace forms {

namespace {

constexpr qsizetype MaxDrawablePictures = 16;

bool sameKind(const QImage &a, const QImage &b)
{
    return !a.isNull() && a.size() == b.size() && a.format() == b.format() &&
           a.devicePixelRatio() == b.devicePixelRatio() && a.dotsPerMeterX() == b.dotsPerMeterX() &&
           a.dotsPerMeterY() == b.dotsPerMeterY();
}

} // namespace

bool PictureBox::beginPainting()
{
    // Since Cls made the image fit, only a new size can have changed it; a new screen flushes
    // what was kept when it comes.
    if (m_keeping && size() == m_keptSize)
        return true;
    ensureImage();
    return !m_image.isNull();
}

void PictureBox::endPainting()
{
    drawQueuedGlyphs();
    if (m_painter.isActive())
        m_painter.end();
}

void PictureBox::draw(const Step &step)
{
    if (drawWithoutPainter(step))
        return;
    if (!m_painter.isActive()) {
        if (!ownImage())
            return;
        m_painter.begin(&m_image);
        m_painterFont.reset();
    }
    if (step.kind == Step::Text && step.shaped && !step.shaped->glyphs.isEmpty()) {
        queueGlyphs(step);
        return;
    }
    drawQueuedGlyphs();
    drawWithPainter(step);
}

// Clearing, a copy of a whole image, and a box of whole pixels need no painter.
bool PictureBox::drawWithoutPainter(const Step &step)
{
    if (step.kind == Step::Clear) {
        endPainting();
        clearImage(step.color);
        return true;
    }
    if (coversImage(step)) {
        endPainting();
        m_image = step.picture;
        return true;
    }
    return step.kind == Step::Fill && !m_painter.isActive() && fillDirectly(step);
}

// A copy of a whole opaque image of the same kind is the image itself.
bool PictureBox::coversImage(const Step &step) const
{
    return step.kind == Step::Picture && step.box == m_image.rect() &&
           step.picture.format() == m_image.format() && !step.picture.hasAlphaChannel() &&
           step.picture.devicePixelRatio() == m_image.devicePixelRatio() &&
           step.picture.dotsPerMeterX() == m_image.dotsPerMeterX() &&
           step.picture.dotsPerMeterY() == m_image.dotsPerMeterY();
}

void PictureBox::drawWithPainter(const Step &step)
{
    switch (step.kind) {
    case Step::Fill:
        if (step.ratio == 1) {
            m_painter.fillRect(step.box, step.color);
        } else {
            // The box is in device pixels already.
            m_painter.save();
            m_painter.scale(1 / step.ratio, 1 / step.ratio);
            m_painter.fillRect(step.box, step.color);
            m_painter.restore();
        }
        break;
    case Step::Picture:
        m_painter.drawImage(step.box.topLeft(), step.picture);
        break;
    case Step::Text:
        m_painter.setPen(step.color);
        if (step.shaped) {
            step.shaped->layout.draw(&m_painter, step.origin);
            m_painterFont.reset(); // the layout may leave its own font set
            break;
        }
        if (m_painterFont != step.font) {
            m_painter.setFont(*step.font);
            m_painterFont = step.font;
        }
        m_painter.setLayoutDirection(step.text.isRightToLeft() ? Qt::RightToLeft : Qt::LeftToRight);
        m_painter.drawText(step.origin, step.text);
        break;
    case Step::Clear:
        break;
    }
}

// An opaque box of whole pixels goes straight into the image, before any painter is opened on
// it: for the one-pixel edges of a face that costs a fraction of what the painter costs, and the
// pixels are the painter's.
bool PictureBox::fillDirectly(const Step &step)
{
    const QImage::Format format = m_image.format();
    if (step.ratio != 1 || step.color.alpha() != 255 ||
        (format != QImage::Format_RGB32 && format != QImage::Format_ARGB32_Premultiplied))
        return false;
    const QRect box = step.box & m_image.rect();
    if (box.isEmpty() || !ownImage())
        return true;
    const QRgb pixel = step.color.rgba();
    uchar *bits = m_image.bits();
    const qsizetype stride = m_image.bytesPerLine();
    for (int y = box.top(); y <= box.bottom(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(bits + y * stride);
        std::fill(line + box.left(), line + box.right() + 1, pixel);
    }
    return true;
}

// An image that an earlier drawing still shares is replaced rather than copied and overwritten.
void PictureBox::clearImage(const QColor &color)
{
    // The image of a face no longer kept is drawn over again rather than freed and allocated.
    if (!m_image.isDetached() && sameKind(m_spareImage, m_image)) {
        m_image = std::move(m_spareImage);
        m_spareImage = QImage();
    }
    if (!m_image.isDetached()) {
        const QImage shared = std::exchange(m_image, QImage());
        QImage image = SurfaceImages::allocate(shared.size());
        image.setDevicePixelRatio(shared.devicePixelRatio());
        image.setDotsPerMeterX(shared.dotsPerMeterX());
        image.setDotsPerMeterY(shared.dotsPerMeterY());
        m_image = image;
    }
    m_image.fill(color);
}

// Drawing goes into an image of the surface's own: one that a drawn face, another surface or a
// caller still shares is copied first, from the pixels all surfaces may hold.
bool PictureBox::ownImage()
{
    if (!m_image.isDetached()) {
        const QImage shared = std::exchange(m_image, QImage());
        m_image = SurfaceImages::copy(shared);
    }
    return !m_image.isNull();
}

// Glyphs drawn together are drawn one by one in the order given, each where it would have been
// drawn on its own.
void PictureBox::queueGlyphs(const Step &step)
{
    if (step.color != m_queuedColor)
        drawQueuedGlyphs();
    m_queuedColor = step.color;
    for (const TextCache::Glyphs &glyphs : step.shaped->glyphs) {
        if (glyphs.font != m_queuedFont) {
            drawQueuedGlyphs();
            m_queuedFont = glyphs.font;
        }
        m_queuedGlyphs.append(glyphs.indexes);
        for (const QPointF &position : glyphs.positions)
            m_queuedPositions.append(step.origin + position);
    }
}

void PictureBox::drawQueuedGlyphs()
{
    if (m_queuedGlyphs.isEmpty())
        return;
    QGlyphRun run;
    run.setRawFont(m_queuedFont);
    run.setGlyphIndexes(m_queuedGlyphs);
    run.setPositions(m_queuedPositions);
    m_queuedGlyphs.clear();
    m_queuedPositions.clear();
    m_painter.setPen(m_queuedColor);
    m_painter.drawGlyphRun(QPointF(), run);
}

// The picture in the form the painter blends without converting it each time: a button draws
// the same few pictures at every pointer crossing.
QImage PictureBox::drawable(const QImage &picture)
{
    const QImage::Format format = picture.format();
    if (format == QImage::Format_RGB32 || format == QImage::Format_ARGB32_Premultiplied)
        return picture;
    const auto found = m_drawable.constFind(picture.cacheKey());
    if (found != m_drawable.constEnd())
        return *found;
    if (m_drawable.size() >= MaxDrawablePictures)
        m_drawable.clear();
    return *m_drawable.insert(picture.cacheKey(),
                              picture.convertToFormat(QImage::Format_ARGB32_Premultiplied));
}

} // namespace forms
