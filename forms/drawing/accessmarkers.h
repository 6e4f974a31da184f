#pragma once

#include "shaping.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace forms {

// A caption with its "&" markers taken out: the text as it shows, and which of its characters
// the markers underline.
struct MarkedText
{
    QString text;
    QList<TextSpan> underlined;
    // A marker with no character after it: the underline is left on.
    bool endsWithMarker = false;
};

// Each "&" among the caption's user-perceived characters is dropped and underlines the next
// character; two in a row underline the character after them.
MarkedText takeMarkers(const QStringList &characters);

} // namespace forms
