#pragma once

#include "formdefinition.h"

#include <QList>
#include <QPair>
#include <QUndoCommand>

class DesignSurface;

// One edit of the designed window as the definitions before and after it, with the selection of
// each; undo and redo put the window back to one of them.
class DefinitionCommand : public QUndoCommand
{
public:
    using Keys = QList<QPair<QString, int>>;

    DefinitionCommand(DesignSurface *surface, const QString &text,
                      const forms::FormDefinition &before, const Keys &selectedBefore,
                      const forms::FormDefinition &after, const Keys &selectedAfter);

    void undo() override;
    void redo() override;

private:
    DesignSurface *m_surface;
    forms::FormDefinition m_before;
    forms::FormDefinition m_after;
    Keys m_selectedBefore;
    Keys m_selectedAfter;
    // The edit has already been made when the step is pushed.
    bool m_done = true;
};
