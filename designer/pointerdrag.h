#pragma once

#include "formdefinition.h"
#include "geometry.h"

#include <QCoreApplication>
#include <QList>
#include <QPair>
#include <QPoint>
#include <QPointer>

class DesignSurface;
class QWidget;

// A pointer on the design surface, in the designed window's coordinates: a press selects (with
// Ctrl, adds to the selection), dragging moves the selection or, from a handle, sizes the control
// in the handle's direction, snapped to the grid and kept inside the client area; the release
// makes the drag one undoable step.
class PointerDrag
{
    Q_DECLARE_TR_FUNCTIONS(PointerDrag)

public:
    explicit PointerDrag(DesignSurface *surface) : m_surface(surface) {}

    void press(const QPoint &point, Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
    // True when the drag moved or sized something.
    bool dragTo(const QPoint &point, Qt::MouseButtons buttons);
    void release();
    // The pointer's shape over a point: the handle's direction there, or during a drag.
    Qt::CursorShape cursorAt(const QPoint &point) const;

private:
    // Which edges a handle moves.
    enum Edge { NoEdge = 0, LeftEdge = 1, TopEdge = 2, RightEdge = 4, BottomEdge = 8 };

    int handleAt(const QPoint &point, QWidget **control) const;
    QWidget *controlAt(const QPoint &point) const;
    void moveDragged(const QPoint &point);
    void resizeDragged(const QPoint &point);

    DesignSurface *m_surface;
    QPoint m_pressPoint;
    bool m_dragging = false;
    int m_edges = NoEdge;
    QPointer<QWidget> m_dragged;
    QList<QPair<QPointer<QWidget>, forms::TwipsRect>> m_pressPlaces;
    forms::FormDefinition m_beforeDrag;
    QList<QPair<QString, int>> m_selectedBeforeDrag;
};
