#pragma once

#include "formdefinition.h"
#include "geometry.h"

#include <QList>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <optional>

class QUndoStack;
class SelectionOverlay;
struct DefinitionChange;

namespace forms {
class Form;
} // namespace forms

// The window being designed: built from its definition with its controls in design mode
// (UserMode False), so that they draw but do not react, and inert: it takes no keyboard input and
// its menu cannot be reached. A click selects a control, Ctrl+click adds one to the selection;
// dragging moves the selection and a handle resizes in its direction. Moves and resizes snap to
// the grid and stop where a control would leave the client area. Every edit is a step on the
// undo stack, and the window is modified exactly while the undo stack is away from where it was
// opened or saved (or a control changed itself through its PropertyChanged outside an edit).
class DesignSurface : public QWidget
{
    Q_OBJECT

public:
    explicit DesignSurface(QWidget *parent = nullptr);
    ~DesignSurface() override;

    // Builds the window from a definition, with an empty undo history; throws
    // forms::DefinitionError and then keeps the window it had.
    void load(const forms::FormDefinition &definition, const QString &source);
    forms::FormDefinition definition() const;
    forms::Form *form() const { return m_form; }
    QUndoStack *undoStack() const { return m_undo; }
    // The widget that takes the surface's keys.
    QWidget *keyboardTarget() const;

    // The controls by tab index (those of equal index in window order).
    QList<QWidget *> controlsInTabOrder() const;
    // "cmdAction(1)" or "txtStock".
    static QString displayName(const QWidget *control);

    QList<QWidget *> selection() const;
    void select(QWidget *control, bool add = false);
    void setSelection(const QList<QWidget *> &controls);
    void clearSelection();
    // Selects the next (or previous) control in tab order, around the end.
    void selectNext(bool forward = true);

    // A newly placed control of a registered class, where it covers no other, on top and
    // selected; nullptr for an unknown class.
    QWidget *insertControl(const QString &className);
    void deleteSelection();
    // Moves (or with `resize` sizes) the selected controls by whole pixels.
    void nudgeSelection(int dx, int dy, bool resize = false);
    // Moves (or sizes) the selection to the next grid line in a direction; by one pixel when the
    // grid is off.
    void stepSelection(int dx, int dy, bool resize = false);

    // The selected controls as a definition of their own (what the clipboard holds), and adding
    // such controls: each gets a free index in its control array or a new name, a tab index after
    // the others, and a place one grid step away from a control it would cover exactly. Throws
    // forms::DefinitionError for controls that cannot be built, and then nothing changes.
    // Duplicate puts the copies, as a group, at the nearest place on the grid where they cover
    // no control, below the others in a window grown to hold them when the client area has none.
    QByteArray copySelection() const;
    void paste(const QByteArray &controls);
    void duplicateSelection();
    void bringSelectionToFront();
    void sendSelectionToBack();

    // Makes an edit as one undoable step named `step`, whatever `change` does on the way. A
    // run-time or definition error it raises is the edit's refusal: everything it changed is put
    // back (the window, the selection, the undo history and the modified mark), and
    // editRefused tells why, naming the selected control and the property (that of the error,
    // else `property`). Edits inside an edit are part of it. True when the edit was made.
    bool edit(const QString &step, const std::function<void()> &change,
              const QString &property = {});
    // An edit opened and closed by its caller, for one made elsewhere at one go (a property
    // page's apply): what was written in between is one step, refused or not. An edit open when
    // the window is opened is dropped. Any edit that leaves a window that could not be saved and
    // opened again is refused when it ends, and changes nothing.
    void beginEdit();
    bool endEdit(const QString &step);
    // Undo and redo, refused like an edit when the window cannot be built on the other side.
    void undo();
    void redo();

    // Replaces the window by an edited definition as one undoable step; throws
    // forms::DefinitionError when it cannot be built, and then nothing changes. `selected` names
    // the controls to select afterwards (name and index).
    void applyDefinition(const forms::FormDefinition &edited, const QString &step,
                         const QList<QPair<QString, int>> &selected = {});
    // Records the change from `before` to the window as it now stands as one undoable step (no
    // step when nothing changed).
    void recordEdit(const QString &step, const forms::FormDefinition &before,
                    const QList<QPair<QString, int>> &selectedBefore = {});
    // Makes the window what a definition stores, rebuilding only the controls that differ (the
    // whole window when its own settings or menus differ), and selects `keys`.
    void restore(const forms::FormDefinition &definition, const QList<QPair<QString, int>> &keys);
    // For the undo stack: makes a change forwards or backwards and selects `keys`.
    void applyChange(const DefinitionChange &change, bool undo,
                     const QList<QPair<QString, int>> &keys);
    QList<QPair<QString, int>> selectionKeys() const;

    // The controls that lie wholly outside the client area, by display name.
    QStringList controlsOutside() const;

    bool isGridEnabled() const { return m_grid; }
    void setGridEnabled(bool enabled);
    float gridTwips() const { return 120; }

    bool isModified() const { return m_modified; }
    void setModified(bool modified);
    // The window as it stands is work nobody has saved (recovered after a crash): modified, and
    // no undo makes it unmodified.
    void markUnsaved();

    QSize sizeHint() const override;

    // Where a control lies in the designed window's coordinates, and its eight handles.
    QRect boxOf(const QWidget *control) const;
    static QList<QRect> handlesOf(const QRect &box);
    // A place on the grid (as it is when the grid is off), and a moved place kept where a grid
    // step of the control stays inside the client area; a control that already lay further out
    // than `from` may still move back.
    float snapped(float twips) const;
    forms::TwipsRect keptInside(const forms::TwipsRect &place, const forms::TwipsRect &from) const;

signals:
    // An edit was refused and changed nothing; `message` says why.
    void editRefused(const QString &step, const QString &message);
    void selectionChanged();
    void modifiedChanged(bool modified);
    // Controls are about to be destroyed and rebuilt: lists of them let go of them first.
    void controlsAboutToChange();
    // Controls were added, removed, renamed or rebuilt.
    void controlsChanged();
    // The selection's marks or the grid look different: a control moved or sized, the selection
    // or the grid changed.
    void marksChanged();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    forms::Form *build(const forms::FormDefinition &definition, const QString &source);
    void makeInert(forms::Form *form);
    void watchControl(QWidget *control);
    void select(const QList<QPair<QString, int>> &keys);
    QString uniqueName(const QString &base) const;
    void refuseUnpastable(const forms::ControlDefinition &control) const;
    void addControls(QList<forms::ControlDefinition> added, const QString &step,
                     std::optional<QPointF> offset);
    QPointF freeOffset(const QList<forms::ControlDefinition> &copies);
    forms::TwipsRect freePlace(float width, float height);
    float clientWidth() const;
    float clientHeight() const;
    void reorderSelection(bool toFront, const QString &step);
    void layOutOverlay();
    bool attempt(const QString &step, const std::function<void()> &change, const QString &property);
    void cancelEdit();
    void refuseUnreadable(const forms::FormDefinition &now, const DefinitionChange &change) const;
    void recordChange(const QString &step, const DefinitionChange &change,
                      const QList<QPair<QString, int>> &selectedBefore);

    // The window as an open edit found it.
    struct OpenEdit
    {
        forms::FormDefinition before;
        QList<QPair<QString, int>> selected;
        bool modified = false;
    };

    forms::Form *m_form = nullptr;
    QString m_source;
    SelectionOverlay *m_overlay;
    QUndoStack *m_undo;
    QList<QPointer<QWidget>> m_selection;
    bool m_modified = false;
    bool m_grid = true;
    // While controls are destroyed to be rebuilt, their ends are no selection change.
    bool m_rebuilding = false;
    std::optional<OpenEdit> m_edit;
};
