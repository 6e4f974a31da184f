#pragma once

// Small helpers for tests that read what a surface shows, pixel by pixel.

#include <QColor>
#include <QImage>
#include <QRect>

#include <algorithm>

namespace imagetools {

// The smallest rectangle holding every pixel of `within` (the whole image when null) whose
// colour, taken as opaque, `take` accepts; null when there is none.
template <typename Take>
QRect boundsWhere(const QImage &image, Take take, const QRect &within = QRect())
{
    const QRect area = within.isNull() ? image.rect() : within.intersected(image.rect());
    int left = area.right() + 1, top = area.bottom() + 1, right = -1, bottom = -1;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (!take(image.pixel(x, y) | 0xFF000000u))
                continue;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    }
    return right < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

// The smallest rectangle that holds every pixel of exactly this colour; empty when there is none.
inline QRect boundsOf(const QImage &image, QColor color, const QRect &within = QRect())
{
    const QRgb wanted = color.rgb();
    return boundsWhere(
        image, [wanted](QRgb pixel) { return pixel == wanted; }, within);
}

inline int countOf(const QImage &image, QColor color)
{
    const QRgb wanted = color.rgb();
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if ((image.pixel(x, y) | 0xFF000000u) == wanted)
                ++count;
        }
    }
    return count;
}

// The smallest rectangle that holds every pixel that is not the background colour: the ink of
// text drawn with anti-aliasing, whose edge pixels are blends of text and background.
inline QRect inkBounds(const QImage &image, QColor background, const QRect &within = QRect())
{
    const QRgb back = background.rgb();
    return boundsWhere(
        image, [back](QRgb pixel) { return pixel != back; }, within);
}

// Whether two images show the same pixels (device pixel ratio and format aside).
inline bool samePixels(const QImage &a, const QImage &b)
{
    if (a.size() != b.size())
        return false;
    const QImage ca = a.convertToFormat(QImage::Format_RGB32);
    const QImage cb = b.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < ca.height(); ++y) {
        for (int x = 0; x < ca.width(); ++x) {
            if ((ca.pixel(x, y) | 0xFF000000u) != (cb.pixel(x, y) | 0xFF000000u))
                return false;
        }
    }
    return true;
}

inline QImage solidImage(int width, int height, QColor color)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(color);
    return image;
}

} // namespace imagetools
