#include "stdfont.h"

#include <QFontInfo>
#include <QGuiApplication>
#include <QScreen>

#include <algorithm>
#include <cmath>

namespace forms {

QFont StdFont::toQFont() const
{
    QFont font(name);
    if (size > 0)
        font.setPointSizeF(size);
    font.setWeight(QFont::Weight(std::clamp<int>(weight, 1, 1000)));
    font.setItalic(italic);
    font.setUnderline(underline);
    font.setStrikeOut(strikethrough);
    return font;
}

StdFont StdFont::fromQFont(const QFont &font, qint16 charset)
{
    StdFont result;
    result.name = font.family();
    double points = font.pointSizeF();
    if (points <= 0) {
        const QScreen *screen = qGuiApp ? QGuiApplication::primaryScreen() : nullptr;
        const qreal dpi = screen ? screen->logicalDotsPerInchY() : 96;
        points = font.pixelSize() * 72.0 / dpi;
    }
    // Point sizes are kept to four decimals, as font objects store them.
    result.size = std::round(points * 10000.0) / 10000.0;
    result.weight = qint16(font.weight());
    result.charset = charset;
    result.italic = font.italic();
    result.underline = font.underline();
    result.strikethrough = font.strikeOut();
    return result;
}

void installFontSubstitutes()
{
    // Liberation and DejaVu are what Debian desktops carry; the narrower faces come first so
    // that captions sized for the Windows bitmap faces are not clipped.
    const QStringList sans = {QStringLiteral("Liberation Sans"), QStringLiteral("Nimbus Sans"),
                              QStringLiteral("DejaVu Sans Condensed"),
                              QStringLiteral("DejaVu Sans")};
    for (const char *face : {"MS Sans Serif", "Microsoft Sans Serif", "MS Shell Dlg", "Tahoma"})
        QFont::insertSubstitutions(QString::fromLatin1(face), sans);
}

} // namespace forms

namespace forms {

QFont defaultWindowFont()
{
    installFontSubstitutes();
    QFont requested(QStringLiteral("MS Sans Serif"));
    requested.setPointSizeF(8.25);
    QFont font(QFontInfo(requested).family());
    font.setPointSizeF(8.25);
    return font;
}

} // namespace forms
