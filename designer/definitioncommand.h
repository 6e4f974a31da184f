#pragma once

#include "formdefinition.h"

#include <QList>
#include <QPair>
#include <QUndoCommand>

#include <optional>

class DesignSurface;

// What one edit changed in the designed window: the run of controls, in window order, from the
// first that differs to the last, and the window's own name, settings and menus where they
// differ. An edit of one control keeps that control twice, not the window twice.
struct DefinitionChange
{
    static DefinitionChange between(const forms::FormDefinition &before,
                                    const forms::FormDefinition &after);

    bool isEmpty() const;
    bool changesWindow() const { return windowBefore.has_value(); }
    // Whether the controls only moved or changed size, each where it stood in window order.
    bool onlyPlacesChange() const;
    // Makes the change in a definition of the window as it stood on the other side of it.
    void applyTo(forms::FormDefinition &definition, bool undo) const;
    // The run of controls the change takes away, and the one it puts in their place, going
    // forwards or (undo) backwards.
    const QList<forms::ControlDefinition> &replaced(bool undo) const
    {
        return undo ? controlsAfter : controlsBefore;
    }
    const QList<forms::ControlDefinition> &replacing(bool undo) const
    {
        return undo ? controlsBefore : controlsAfter;
    }

    qsizetype first = 0;
    QList<forms::ControlDefinition> controlsBefore;
    QList<forms::ControlDefinition> controlsAfter;
    // The window without its controls, when its own parts changed.
    std::optional<forms::FormDefinition> windowBefore;
    std::optional<forms::FormDefinition> windowAfter;
};

// One edit of the designed window as what it changed, with the selection on each side; undo and
// redo make the change backwards or forwards.
class DefinitionCommand : public QUndoCommand
{
public:
    using Keys = QList<QPair<QString, int>>;

    DefinitionCommand(DesignSurface *surface, const QString &text, const DefinitionChange &change,
                      const Keys &selectedBefore, const Keys &selectedAfter);

    void undo() override;
    void redo() override;

private:
    DesignSurface *m_surface;
    DefinitionChange m_change;
    Keys m_selectedBefore;
    Keys m_selectedAfter;
    // The edit has already been made when the step is pushed.
    bool m_done = true;
};
