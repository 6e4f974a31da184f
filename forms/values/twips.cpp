#include "twips.h"

#include <QGuiApplication>
#include <QScreen>

#include <cmath>

namespace forms {

namespace {

float twipsPerPixel(qreal dpi)
{
    if (dpi <= 0)
        dpi = 96;
    return std::round(TwipsPerInch / float(dpi));
}

QScreen *screen()
{
    return qGuiApp ? QGuiApplication::primaryScreen() : nullptr;
}

} // namespace

float TwipsPerPixelX()
{
    const QScreen *s = screen();
    return twipsPerPixel(s ? s->logicalDotsPerInchX() : 96);
}

float TwipsPerPixelY()
{
    const QScreen *s = screen();
    return twipsPerPixel(s ? s->logicalDotsPerInchY() : 96);
}

int twipsToPixelsX(float twips)
{
    return int(std::lround(twips / TwipsPerPixelX()));
}

int twipsToPixelsY(float twips)
{
    return int(std::lround(twips / TwipsPerPixelY()));
}

float pixelsToTwipsX(float pixels)
{
    return pixels * TwipsPerPixelX();
}

float pixelsToTwipsY(float pixels)
{
    return pixels * TwipsPerPixelY();
}

int twipsToHimetric(float twips)
{
    return int(std::lround(double(twips) * 2540.0 / 1440.0));
}

float himetricToTwips(int himetric)
{
    return float(std::round(double(himetric) * 1440.0 / 2540.0));
}

} // namespace forms
