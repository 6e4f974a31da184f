#pragma once

#include <QByteArray>

namespace forms {

// The most attributes an element of a definition has: a font has nine.
constexpr int MaxAttributes = 16;

// The line of the first element with more than MaxAttributes attributes, or 0. The XML reader
// checks an element's attributes against each other, so that one of many thousands would take it
// minutes: they are counted here first, in one pass over the text, as the '=' of each start tag
// outside its quoted values. Takes a file in any encoding the reader takes.
int lineOfTooManyAttributes(const QByteArray &xml);

} // namespace forms
