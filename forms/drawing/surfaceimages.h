#pragma once

#include <QImage>
#include <QRgb>
#include <QSize>

namespace forms {

// The pixels of all picture surfaces together, drawn faces and spares included, come from here
// and are counted until the last image sharing them is gone. A window of ten thousand controls of
// the largest size would otherwise ask for a screenful each.
class SurfaceImages
{
public:
    static constexpr qsizetype MaxBytes = qsizetype(384) << 20;

    // A 32-bit image of this size, or, when that would pass MaxBytes, of as many of its rows as
    // the pixels left allow (none at all: a null image).
    static QImage allocate(QSize size);
    // The same pixels in an image of its own, counted as the others are, as far as they fit.
    static QImage copy(const QImage &image);
    // An image of one colour, shared by the surfaces cleared alike until each draws on its own
    // copy: a button shows the face drawn on its buffer, and needs no pixels before.
    static QImage blank(QSize size, qreal ratio, const QImage &resolution, QRgb color);
    static qsizetype bytesInUse();
};

} // namespace forms
