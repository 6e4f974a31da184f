#pragma once

#include <QColor>
#include <QPalette>

namespace forms {

// A colour value: &H00BBGGRR, or with the high bit set a system colour whose index is the low
// byte. Values are kept exactly as set and resolved only when drawn.
using OleColor = quint32;

constexpr OleColor SystemColorFlag = 0x80000000u;

namespace SystemColor {
constexpr OleColor ActiveTitleBar = SystemColorFlag | 2;
constexpr OleColor WindowBackground = SystemColorFlag | 5;
constexpr OleColor WindowText = SystemColorFlag | 8;
constexpr OleColor ButtonFace = SystemColorFlag | 15;
constexpr OleColor ButtonShadow = SystemColorFlag | 16;
constexpr OleColor ButtonText = SystemColorFlag | 18;
constexpr OleColor ButtonHighlight = SystemColorFlag | 20;
} // namespace SystemColor

constexpr bool isSystemColor(OleColor value)
{
    return (value & SystemColorFlag) != 0;
}

// The colour to draw with: an ordinary value as it stands, a system colour through the palette's
// closest role, so that the desktop's theme, light or dark, carries over.
QColor toQColor(OleColor value, const QPalette &palette);
QColor toQColor(OleColor value);

// An ordinary colour value (&H00BBGGRR) for a concrete colour.
OleColor fromQColor(const QColor &color);

} // namespace forms
