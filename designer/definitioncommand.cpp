#include "definitioncommand.h"

#include "designsurface.h"

DefinitionCommand::DefinitionCommand(DesignSurface *surface, const QString &text,
                                     const forms::FormDefinition &before,
                                     const Keys &selectedBefore, const forms::FormDefinition &after,
                                     const Keys &selectedAfter)
    : QUndoCommand(text), m_surface(surface), m_before(before), m_after(after),
      m_selectedBefore(selectedBefore), m_selectedAfter(selectedAfter)
{}

void DefinitionCommand::undo()
{
    m_surface->restore(m_before, m_selectedBefore);
}

void DefinitionCommand::redo()
{
    if (m_done) {
        m_done = false;
        return;
    }
    m_surface->restore(m_after, m_selectedAfter);
}
