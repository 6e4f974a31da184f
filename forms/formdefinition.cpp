// The window definition's own small parts; reading and writing its XML are in
// definitionreader.cpp and definitionwriter.cpp.
#include "formdefinition.h"

namespace forms {

QString ControlDefinition::displayName() const
{
    return index >= 0 ? QStringLiteral("%1(%2)").arg(name).arg(index) : name;
}

DefinitionError::DefinitionError(const QString &message)
    : std::runtime_error(message.toStdString()), m_message(message)
{}

} // namespace forms
