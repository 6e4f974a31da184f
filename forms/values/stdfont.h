#pragma once

#include <QFont>
#include <QMetaType>
#include <QString>

namespace forms {

// A font object as controls store it: face name, size in points, weight, character set and the
// three styles. It is a value; two fonts are equal when every attribute is.
struct StdFont
{
    QString name = QStringLiteral("MS Sans Serif");
    double size = 8.25;
    qint16 weight = 400;
    qint16 charset = 0;
    bool italic = false;
    bool underline = false;
    bool strikethrough = false;

    bool bold() const { return weight >= 700; }

    // The toolkit font to draw with. A face that the desktop lacks falls back through the
    // toolkit's substitution table (see installFontSubstitutes).
    QFont toQFont() const;
    static StdFont fromQFont(const QFont &font, qint16 charset = 0);

    friend bool operator==(const StdFont &, const StdFont &) = default;
};

// Maps the classic Windows face names to the nearest faces a Linux desktop has, so that text
// keeps the width the stored sizes were designed for.
void installFontSubstitutes();

// A new window's font: the classic 8.25-point dialog face, as the desktop actually provides it
// (the substitute's own name, so that fonts stored under the classic name stay distinct from it).
QFont defaultWindowFont();

} // namespace forms

Q_DECLARE_METATYPE(forms::StdFont)
