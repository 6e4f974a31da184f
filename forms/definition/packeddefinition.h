#pragma once

#include "formdefinition.h"

#include <QByteArray>
#include <QString>

namespace forms {

// A definition in a compact binary form, for a window built into a program. Such a window is
// read at every start, and reading its XML costs more than building its controls; the binary
// form is made from the XML when the program is built, and holds exactly what it holds.
QByteArray packDefinition(const FormDefinition &definition);

// Reads a packed definition; `source` names it in error messages. Data that is not a complete
// packed definition of this format is refused with a DefinitionError, never half read.
FormDefinition unpackDefinition(const QByteArray &packed, const QString &source);

} // namespace forms
