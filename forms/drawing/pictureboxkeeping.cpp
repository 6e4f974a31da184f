// PictureBox's kept steps: a small surface keeps what it was asked to draw since the last Cls, and
// takes an image drawn earlier from exactly the same steps instead of drawing them again.
#include "picturebox.h"

#include <algorithm>

namespace forms {

namespace {

// Drawn images are kept for surfaces of a button's size, a few faces each.
constexpr qsizetype MaxKeptImageBytes = 256 * 1024;
constexpr qsizetype MaxKeptSteps = 128;
constexpr qsizetype MaxDrawnImages = 8;
// The drawn images of all surfaces together. Beyond this, a surface keeps only the face it shows:
// a window of thousands of buttons costs a redraw now and then rather than a copy of every face
// of each.
constexpr qsizetype MaxDrawnBytesOfAll = 32 * 1024 * 1024;
qsizetype drawnBytesOfAll = 0;

} // namespace

bool PictureBox::Step::operator==(const Step &other) const
{
    return kind == other.kind && box == other.box && origin == other.origin &&
           color == other.color && picture.cacheKey() == other.picture.cacheKey() &&
           ratio == other.ratio && shaped == other.shaped && font == other.font &&
           text == other.text;
}

// Telling a new face from the drawn ones compares many steps; their digests are compared first.
size_t PictureBox::Step::digest(size_t seed) const
{
    const auto mix = [&seed](size_t value) { seed = (seed ^ value) * 0x100000001B3ull; };
    mix(size_t(kind));
    mix(size_t(box.x()) << 32 ^ size_t(box.y()));
    mix(size_t(box.width()) << 32 ^ size_t(box.height()));
    mix(size_t(qint64(origin.x() * 64)) << 32 ^ size_t(qint64(origin.y() * 64)));
    mix(color.rgba());
    mix(size_t(picture.isNull() ? 0 : picture.cacheKey()));
    mix(reinterpret_cast<size_t>(shaped.get()));
    mix(size_t(text.size()));
    return seed;
}

void PictureBox::keep(Step &&step)
{
    // What a step covers entirely is forgotten: a surface that is shown only now and then (a
    // button's face, copied whole from its buffer) holds the last picture, not every one before.
    if (coversImage(step)) {
        m_steps.clear();
        m_stepsDigest = 0;
    }
    m_stepsDigest = step.digest(m_stepsDigest);
    m_steps.append(std::move(step));
}

void PictureBox::paintStep(Step &&step)
{
    if (m_keeping) {
        if (m_steps.size() < MaxKeptSteps) {
            keep(std::move(step));
            return;
        }
        flushSteps();
    }
    draw(step);
}

void PictureBox::flushSteps()
{
    if (!m_keeping)
        return;
    m_keeping = false;
    for (qsizetype i = 0; i < m_drawn.size(); ++i) {
        if (m_drawn.at(i).digest == m_stepsDigest && m_drawn.at(i).steps == m_steps) {
            m_image = m_drawn.at(i).image;
            m_drawn.move(i, 0);
            m_steps.clear();
            return;
        }
    }
    for (const Step &step : std::as_const(m_steps))
        draw(step);
    endPainting();
    rememberDrawn();
    m_steps.clear();
}

void PictureBox::rememberDrawn()
{
    m_drawn.prepend({m_steps, m_stepsDigest, m_image});
    m_drawnBytes += m_image.sizeInBytes();
    drawnBytesOfAll += m_image.sizeInBytes();
    if (m_drawn.size() > MaxDrawnImages)
        forgetDrawn(true);
    while (m_drawn.size() > 1 && drawnBytesOfAll > MaxDrawnBytesOfAll)
        forgetDrawn(false);
}

// Forgets the face drawn least recently; its image, unless shared, may serve as the next one.
void PictureBox::forgetDrawn(bool keepSpare)
{
    QImage forgotten = m_drawn.takeLast().image;
    m_drawnBytes -= forgotten.sizeInBytes();
    drawnBytesOfAll -= forgotten.sizeInBytes();
    if (keepSpare && forgotten.isDetached())
        m_spareImage = std::move(forgotten);
}

void PictureBox::forgetAllDrawn()
{
    drawnBytesOfAll -= m_drawnBytes;
    m_drawnBytes = 0;
    m_drawn.clear();
    m_spareImage = QImage();
}

void PictureBox::Cls()
{
    endPainting();
    // Whatever was kept or drawn since the last clearing would be covered by this one.
    m_keeping = false;
    m_steps.clear();
    ensureImage(OldDrawing::Dropped);
    const QColor back = toQColor(m_backColor, palette());
    m_currentX = 0;
    m_currentY = 0;
    if (!m_image.isNull() && m_image.sizeInBytes() <= MaxKeptImageBytes) {
        m_keeping = true;
        m_keptSize = size();
        Step clear(Step::Clear);
        clear.box = m_image.rect();
        clear.ratio = m_image.devicePixelRatio();
        clear.color = back;
        m_stepsDigest = 0;
        keep(std::move(clear));
    } else {
        clearImage(back);
    }
}

} // namespace forms
