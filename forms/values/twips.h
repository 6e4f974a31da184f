#pragma once

namespace forms {

constexpr float TwipsPerInch = 1440.0f;

// Twips in one logical pixel of the primary screen, from its logical DPI: 15 at 96 DPI.
float TwipsPerPixelX();
float TwipsPerPixelY();

// Twips to whole pixels, rounded to the nearest pixel.
int twipsToPixelsX(float twips);
int twipsToPixelsY(float twips);
float pixelsToTwipsX(float pixels);
float pixelsToTwipsY(float pixels);

// Extents in hundredths of a millimetre, as containers store a control's size.
int twipsToHimetric(float twips);
float himetricToTwips(int himetric);

} // namespace forms
