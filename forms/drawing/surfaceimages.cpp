#include "surfaceimages.h"

#include <QList>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <memory>

namespace forms {

namespace {

// An image's last holder may let go of it on another thread (a display server's hand-over).
std::atomic<qsizetype> inUse = 0;

// Each block starts with its own size, so that the image's clean-up knows what to give back; the
// header keeps the pixels on a 16-byte boundary.
constexpr qsizetype HeaderBytes = 16;

constexpr qsizetype MaxBlanks = 16;
constexpr qsizetype MaxBlankBytes = qsizetype(16) << 20;

void release(void *block)
{
    std::unique_ptr<uchar[]> owned(static_cast<uchar *>(block));
    qsizetype bytes = 0;
    std::memcpy(&bytes, owned.get(), sizeof bytes);
    inUse -= bytes;
}

} // namespace

QImage SurfaceImages::allocate(QSize size)
{
    const qsizetype stride = qsizetype(std::max(size.width(), 0)) * 4;
    if (stride == 0 || size.height() <= 0)
        return QImage();
    const qsizetype rowsLeft = std::max<qsizetype>(MaxBytes - inUse.load(), 0) / stride;
    const int rows = int(std::min<qsizetype>(size.height(), rowsLeft));
    if (rows == 0)
        return QImage();
    const qsizetype bytes = stride * rows;
    auto block = std::make_unique_for_overwrite<uchar[]>(size_t(HeaderBytes + bytes));
    std::memcpy(block.get(), &bytes, sizeof bytes);
    uchar *pixels = block.get() + HeaderBytes;
    inUse += bytes;
    return QImage(pixels, size.width(), rows, stride, QImage::Format_RGB32, release,
                  block.release());
}

QImage SurfaceImages::copy(const QImage &image)
{
    QImage copied = allocate(image.size());
    if (copied.isNull())
        return copied;
    const QImage source = image.format() == QImage::Format_RGB32
                              ? image
                              : image.convertToFormat(QImage::Format_RGB32);
    const qsizetype lineBytes = std::min(copied.bytesPerLine(), source.bytesPerLine());
    for (int y = 0; y < copied.height(); ++y)
        std::memcpy(copied.scanLine(y), source.constScanLine(y), size_t(lineBytes));
    copied.setDevicePixelRatio(image.devicePixelRatio());
    copied.setDotsPerMeterX(image.dotsPerMeterX());
    copied.setDotsPerMeterY(image.dotsPerMeterY());
    return copied;
}

QImage SurfaceImages::blank(QSize size, qreal ratio, const QImage &resolution, QRgb color)
{
    static QList<QImage> blanks; // the most recently used first
    for (qsizetype i = 0; i < blanks.size(); ++i) {
        const QImage &known = blanks.at(i);
        if (known.size() == size && known.devicePixelRatio() == ratio &&
            known.dotsPerMeterX() == resolution.dotsPerMeterX() &&
            known.dotsPerMeterY() == resolution.dotsPerMeterY() && known.pixel(0, 0) == color) {
            blanks.move(i, 0);
            return blanks.first();
        }
    }
    QImage image = allocate(size);
    if (image.isNull())
        return image;
    image.setDevicePixelRatio(ratio);
    image.setDotsPerMeterX(resolution.dotsPerMeterX());
    image.setDotsPerMeterY(resolution.dotsPerMeterY());
    image.fill(color);
    // Only whole images are shared: one cut short by the pixels left is no surface's blank.
    if (image.size() != size)
        return image;
    blanks.prepend(image);
    qsizetype bytes = 0;
    for (qsizetype i = 0; i < blanks.size(); ++i) {
        bytes += blanks.at(i).sizeInBytes();
        if (i > 0 && (i >= MaxBlanks || bytes > MaxBlankBytes)) {
            blanks.resize(i);
            break;
        }
    }
    return image;
}

qsizetype SurfaceImages::bytesInUse()
{
    return inUse.load();
}

} // namespace forms
