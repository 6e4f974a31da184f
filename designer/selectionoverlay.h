#pragma once

#include "pointerdrag.h"

#include <QWidget>

class DesignSurface;

// Lies over the designed window, takes every pointer and key event meant for it, and draws the
// grid and the selection handles. Its coordinates are the designed window's.
class SelectionOverlay : public QWidget
{
    Q_OBJECT

public:
    explicit SelectionOverlay(DesignSurface *surface);

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void paintGrid(QPainter &painter, const QRect &area);
    void paintHandles(QPainter &painter);

    DesignSurface *m_surface;
    PointerDrag m_drag;
};
