#pragma once

// Helpers shared by the LumoButton face and interaction tests: a button loaded with distinct,
// easily told apart colours, and readers that tell which face a surface shows and where its
// picture and caption sit.

#include "colors.h"
#include "imagetools.h"
#include "lumobutton.h"
#include "picturebox.h"
#include "propertybag.h"
#include "stdfont.h"
#include "stdpicture.h"

#include <QImage>
#include <QRect>
#include <QString>

#include <algorithm>

namespace lumofacetools {

// Colour values as stored (&H00BBGGRR) and as drawn.
constexpr forms::OleColor Green = 0x00FF00;   // BackColor
constexpr forms::OleColor Red = 0x0000FF;     // LightBorderColor
constexpr forms::OleColor Blue = 0xFF0000;    // DarkBorderColor
constexpr forms::OleColor Magenta = 0xFF00FF; // Picture
constexpr forms::OleColor Yellow = 0x00FFFF;  // SelectedPicture
constexpr forms::OleColor Cyan = 0xFFFF00;    // PressedPicture
constexpr forms::OleColor Black = 0x000000;   // caption colours
constexpr QRgb BackRgb = 0xFF00FF00;
constexpr QRgb LightRgb = 0xFFFF0000;
constexpr QRgb DarkRgb = 0xFF0000FF;
constexpr QRgb PictureRgb = 0xFFFF00FF;
constexpr QRgb SelectedRgb = 0xFFFFFF00;
constexpr QRgb PressedRgb = 0xFF00FFFF;

inline forms::StdPicture solidPicture(QRgb colour, int width = 16, int height = 16)
{
    return forms::StdPicture::fromImage(
        imagetools::solidImage(width, height, QColor::fromRgb(colour)));
}

// One font for all three faces, so that captions render alike on each of them.
inline forms::StdFont captionFont()
{
    forms::StdFont font;
    font.name = QStringLiteral("DejaVu Sans");
    font.size = 9;
    return font;
}

// The stored settings every test button starts from; a test adds its own entries.
inline forms::PropertyBag baseBag()
{
    forms::PropertyBag bag;
    const auto colour = [](forms::OleColor c) { return QVariant::fromValue<quint32>(c); };
    bag.WriteProperty(QStringLiteral("BackColor"), colour(Green));
    bag.WriteProperty(QStringLiteral("LightBorderColor"), colour(Red));
    bag.WriteProperty(QStringLiteral("DarkBorderColor"), colour(Blue));
    bag.WriteProperty(QStringLiteral("ForeColor"), colour(Black));
    bag.WriteProperty(QStringLiteral("ForeColorSelected"), colour(Black));
    bag.WriteProperty(QStringLiteral("ForeColorPressed"), colour(Black));
    const QVariant font = QVariant::fromValue(captionFont());
    bag.WriteProperty(QStringLiteral("Font"), font);
    bag.WriteProperty(QStringLiteral("FontSelected"), font);
    bag.WriteProperty(QStringLiteral("FontPressed"), font);
    bag.WriteProperty(QStringLiteral("Caption"), QString());
    return bag;
}

inline forms::PictureBox *faceOf(LumoButton *button)
{
    return button->findChild<forms::PictureBox *>(QStringLiteral("picButton"));
}

enum class Look { Unselected, Selected, Pressed, Other };

inline const char *lookName(Look look)
{
    switch (look) {
    case Look::Unselected:
        return "unselected";
    case Look::Selected:
        return "selected";
    case Look::Pressed:
        return "pressed";
    case Look::Other:
        break;
    }
    return "other";
}

// Tells the face by its four corner pixels: the raised face is light at the top left and dark
// at the other three, the sunken face the reverse, the flat face has no border at all.
inline Look lookOf(const QImage &image)
{
    if (image.width() < 2 || image.height() < 2)
        return Look::Other;
    const QRgb tl = image.pixel(0, 0) | 0xFF000000u;
    const QRgb tr = image.pixel(image.width() - 1, 0) | 0xFF000000u;
    const QRgb bl = image.pixel(0, image.height() - 1) | 0xFF000000u;
    const QRgb br = image.pixel(image.width() - 1, image.height() - 1) | 0xFF000000u;
    if (tl == LightRgb && tr == DarkRgb && bl == DarkRgb && br == DarkRgb)
        return Look::Selected;
    if (tl == DarkRgb && tr == LightRgb && bl == LightRgb && br == LightRgb)
        return Look::Pressed;
    if (tl == BackRgb && tr == BackRgb && bl == BackRgb && br == BackRgb)
        return Look::Unselected;
    return Look::Other;
}

// The smallest rectangle holding every pixel of exactly this colour; null when there is none.
inline QRect boundsOf(const QImage &image, QRgb colour, const QRect &within = QRect())
{
    return imagetools::boundsOf(image, QColor::fromRgb(colour), within);
}

// The caption's ink: every pixel inside the border that is neither background nor one of the
// three picture colours (anti-aliased text blends black into green, never into those).
inline QRect captionBounds(const QImage &image)
{
    const auto ink = [](QRgb pixel) {
        return pixel != BackRgb && pixel != PictureRgb && pixel != SelectedRgb &&
               pixel != PressedRgb;
    };
    return imagetools::boundsWhere(image, ink, image.rect().adjusted(1, 1, -1, -1));
}

} // namespace lumofacetools
