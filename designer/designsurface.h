#pragma once

#include <QList>
#include <QPointer>
#include <QWidget>

namespace forms {
class Form;
struct FormDefinition;
} // namespace forms

class SelectionOverlay;

// The window being designed: built from its definition with its controls in design mode
// (UserMode False), so that they draw but do not react. A click selects a control, Ctrl+click
// adds it to the selection; a selected control moves by dragging or with the arrow keys (Shift
// with an arrow resizes it). Every change made here or through a control's PropertyChanged
// marks the window modified.
class DesignSurface : public QWidget
{
    Q_OBJECT

public:
    explicit DesignSurface(QWidget *parent = nullptr);
    ~DesignSurface() override;

    // Builds the window from a definition; throws forms::DefinitionError and then keeps the
    // window it had.
    void load(const forms::FormDefinition &definition, const QString &source);
    forms::FormDefinition definition() const;
    forms::Form *form() const { return m_form; }

    QList<QWidget *> selection() const;
    void select(QWidget *control, bool add = false);
    void clearSelection();

    // A newly placed control of a registered class, selected; nullptr for an unknown class.
    QWidget *insertControl(const QString &className);
    void deleteSelection();
    // Moves (or with `resize` sizes) the selected controls by whole pixels.
    void nudgeSelection(int dx, int dy, bool resize = false);

    bool isModified() const { return m_modified; }
    void setModified(bool modified);

    QSize sizeHint() const override;

signals:
    void selectionChanged();
    void modifiedChanged(bool modified);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    friend class SelectionOverlay;
    void watchControl(QWidget *control);
    QWidget *controlAt(const QPoint &surfacePoint) const;
    QString uniqueName(const QString &base) const;
    void mousePressOnOverlay(QMouseEvent *event);
    void mouseMoveOnOverlay(QMouseEvent *event);
    void keyPressOnOverlay(QKeyEvent *event);
    void layOutOverlay();

    forms::Form *m_form = nullptr;
    SelectionOverlay *m_overlay = nullptr;
    QList<QPointer<QWidget>> m_selection;
    bool m_modified = false;
    QPoint m_dragStart;
    bool m_dragging = false;
};
