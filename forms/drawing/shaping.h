#pragma once

#include <QList>
#include <QStringView>

namespace forms {

// A run of UTF-16 code units in a text.
struct TextSpan
{
    qsizetype start = 0;
    qsizetype length = 0;

    bool operator==(const TextSpan &other) const = default;
};

// Whether a text reads correctly only when laid out whole, as one shaped line: it has a
// right-to-left character or a bidirectional control, or letters of a script whose letters join
// or combine across grapheme clusters. Printed one cluster at a time, such a text would show its
// letters unjoined, unordered or unconnected.
bool needsShaping(QStringView text);

} // namespace forms
