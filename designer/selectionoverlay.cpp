#include "selectionoverlay.h"

#include "designsurface.h"
#include "form.h"
#include "twips.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QRegion>

#include <cmath>

SelectionOverlay::SelectionOverlay(DesignSurface *surface)
    : QWidget(surface), m_surface(surface), m_drag(surface)
{
    connect(surface, &DesignSurface::marksChanged, this, qOverload<>(&QWidget::update));
    setObjectName(QStringLiteral("designOverlay"));
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAccessibleName(tr("Designed window"));
}

bool SelectionOverlay::event(QEvent *event)
{
    // Tab walks the selection through the designed controls instead of leaving the surface.
    if (event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const bool plain = !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
        if (plain && (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab)) {
            const bool back =
                key->key() == Qt::Key_Backtab || (key->modifiers() & Qt::ShiftModifier);
            m_surface->selectNext(!back);
            return true;
        }
    }
    return QWidget::event(event);
}

void SelectionOverlay::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    if (m_surface->isGridEnabled())
        paintGrid(painter, event->rect());
    paintHandles(painter);
}

// Only the dots in the area being painted, as a large window has very many, and only on the
// window's background: a control's face, caption and text stay clear of them.
void SelectionOverlay::paintGrid(QPainter &painter, const QRect &area)
{
    const QWidget *client = m_surface->form()->clientArea();
    const QPoint origin = client->mapTo(m_surface->form(), QPoint(0, 0));
    const QRect visible = area.intersected(QRect(origin, client->size())).translated(-origin);
    if (visible.isEmpty())
        return;
    QRegion background(visible.translated(origin));
    for (const QWidget *control : m_surface->form()->controls()) {
        if (control->isVisibleTo(m_surface->form()))
            background -= m_surface->boxOf(control);
    }
    painter.save();
    painter.setClipRegion(background);
    const float step = m_surface->gridTwips();
    const auto first = [step](float twips) { return std::ceil(twips / step) * step; };
    painter.setPen(palette().color(QPalette::WindowText));
    const float right = forms::pixelsToTwipsX(float(visible.right() + 1));
    const float bottom = forms::pixelsToTwipsY(float(visible.bottom() + 1));
    for (float y = first(forms::pixelsToTwipsY(float(visible.top()))); y < bottom; y += step) {
        for (float x = first(forms::pixelsToTwipsX(float(visible.left()))); x < right; x += step)
            painter.drawPoint(origin + QPoint(forms::twipsToPixelsX(x), forms::twipsToPixelsY(y)));
    }
    painter.restore();
}

void SelectionOverlay::paintHandles(QPainter &painter)
{
    const QColor handle = palette().color(QPalette::Highlight);
    for (QWidget *control : m_surface->selection()) {
        const QRect box = m_surface->boxOf(control);
        painter.setPen(QPen(handle, 1, Qt::DashLine));
        painter.drawRect(box.adjusted(-1, -1, 0, 0));
        for (const QRect &grip : DesignSurface::handlesOf(box))
            painter.fillRect(grip, handle);
    }
}

void SelectionOverlay::mousePressEvent(QMouseEvent *event)
{
    setFocus();
    m_drag.press(event->position().toPoint(), event->button(), event->modifiers());
}

void SelectionOverlay::mouseMoveEvent(QMouseEvent *event)
{
    if (m_drag.dragTo(event->position().toPoint(), event->buttons()))
        update();
    setCursor(m_drag.cursorAt(event->position().toPoint()));
}

void SelectionOverlay::mouseReleaseEvent(QMouseEvent *)
{
    m_drag.release();
}

void SelectionOverlay::mouseDoubleClickEvent(QMouseEvent *event)
{
    event->accept();
}

void SelectionOverlay::keyPressEvent(QKeyEvent *event)
{
    const bool resize = event->modifiers() & Qt::ShiftModifier;
    const auto step = [this, resize](int dx, int dy) {
        m_surface->edit(resize ? tr("Resize") : tr("Move"),
                        [=, this] { m_surface->stepSelection(dx, dy, resize); });
    };
    switch (event->key()) {
    case Qt::Key_Left:
        step(-1, 0);
        break;
    case Qt::Key_Right:
        step(1, 0);
        break;
    case Qt::Key_Up:
        step(0, -1);
        break;
    case Qt::Key_Down:
        step(0, 1);
        break;
    case Qt::Key_Escape:
        m_surface->clearSelection();
        break;
    default:
        event->ignore();
        return;
    }
    event->accept();
}
