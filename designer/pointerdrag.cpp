#include "pointerdrag.h"

#include "designsurface.h"
#include "form.h"
#include "twips.h"

#include <algorithm>

namespace {

// The smallest size a handle leaves: one pixel at the usual density.
constexpr float SmallestSize = 15;

// The edges each handle of DesignSurface::handlesOf moves, in the same order.
constexpr int HandleEdges[] = {1 | 2, 2, 4 | 2, 4, 4 | 8, 8, 1 | 8, 1};

} // namespace

void PointerDrag::press(const QPoint &point, Qt::MouseButton button,
                        Qt::KeyboardModifiers modifiers)
{
    if (!m_surface->form())
        return;
    const bool add = modifiers & Qt::ControlModifier;
    QWidget *grabbed = nullptr;
    m_edges = add ? NoEdge : handleAt(point, &grabbed);
    if (m_edges == NoEdge) {
        grabbed = controlAt(point);
        if (!(grabbed && m_surface->selection().contains(grabbed) && !add))
            m_surface->select(grabbed, add);
    }
    m_dragged = grabbed;
    m_pressPoint = point;
    m_dragging = grabbed && button == Qt::LeftButton;
    if (!m_dragging)
        return;
    m_beforeDrag = m_surface->definition();
    m_selectedBeforeDrag = m_surface->selectionKeys();
    m_pressPlaces.clear();
    for (QWidget *control : m_surface->selection())
        m_pressPlaces.append({control, forms::twipsGeometry(control)});
}

bool PointerDrag::dragTo(const QPoint &point, Qt::MouseButtons buttons)
{
    if (!m_dragging || !(buttons & Qt::LeftButton) || !m_dragged)
        return false;
    if (m_edges == NoEdge)
        moveDragged(point);
    else
        resizeDragged(point);
    return true;
}

void PointerDrag::moveDragged(const QPoint &point)
{
    float dx = forms::pixelsToTwipsX(float(point.x() - m_pressPoint.x()));
    float dy = forms::pixelsToTwipsY(float(point.y() - m_pressPoint.y()));
    // The control under the pointer lands on the grid; the others keep their distance to it.
    for (const auto &[control, place] : std::as_const(m_pressPlaces)) {
        if (control == m_dragged) {
            dx = m_surface->snapped(place.left + dx) - place.left;
            dy = m_surface->snapped(place.top + dy) - place.top;
        }
    }
    for (const auto &[control, place] : std::as_const(m_pressPlaces)) {
        if (!control)
            continue;
        forms::TwipsRect moved = place;
        moved.left += dx;
        moved.top += dy;
        forms::setTwipsGeometry(control, m_surface->keptInside(moved, place));
    }
}

void PointerDrag::resizeDragged(const QPoint &point)
{
    forms::TwipsRect place;
    for (const auto &[control, pressed] : std::as_const(m_pressPlaces)) {
        if (control == m_dragged)
            place = pressed;
    }
    const auto snapped = [this](float twips) { return m_surface->snapped(twips); };
    const float dx = forms::pixelsToTwipsX(float(point.x() - m_pressPoint.x()));
    const float dy = forms::pixelsToTwipsY(float(point.y() - m_pressPoint.y()));
    const float right = place.left + place.width, bottom = place.top + place.height;
    if (m_edges & LeftEdge) {
        place.left = std::min(snapped(place.left + dx), right - SmallestSize);
        place.width = right - place.left;
    }
    if (m_edges & RightEdge)
        place.width = std::max(SmallestSize, snapped(right + dx) - place.left);
    if (m_edges & TopEdge) {
        place.top = std::min(snapped(place.top + dy), bottom - SmallestSize);
        place.height = bottom - place.top;
    }
    if (m_edges & BottomEdge)
        place.height = std::max(SmallestSize, snapped(bottom + dy) - place.top);
    forms::setTwipsGeometry(m_dragged, place);
}

void PointerDrag::release()
{
    if (m_dragging)
        m_surface->recordEdit(m_edges == NoEdge ? tr("Move") : tr("Resize"), m_beforeDrag,
                              m_selectedBeforeDrag);
    m_dragging = false;
    m_edges = NoEdge;
    m_pressPlaces.clear();
}

int PointerDrag::handleAt(const QPoint &point, QWidget **control) const
{
    const QList<QWidget *> selected = m_surface->selection();
    for (auto it = selected.crbegin(); it != selected.crend(); ++it) {
        const QList<QRect> handles = DesignSurface::handlesOf(m_surface->boxOf(*it));
        for (qsizetype i = 0; i < handles.size(); ++i) {
            if (handles.at(i).adjusted(-1, -1, 1, 1).contains(point)) {
                *control = *it;
                return HandleEdges[i];
            }
        }
    }
    return NoEdge;
}

Qt::CursorShape PointerDrag::cursorAt(const QPoint &point) const
{
    QWidget *control = nullptr;
    switch (m_dragging ? m_edges : handleAt(point, &control)) {
    case LeftEdge | TopEdge:
    case RightEdge | BottomEdge:
        return Qt::SizeFDiagCursor;
    case RightEdge | TopEdge:
    case LeftEdge | BottomEdge:
        return Qt::SizeBDiagCursor;
    case TopEdge:
    case BottomEdge:
        return Qt::SizeVerCursor;
    case LeftEdge:
    case RightEdge:
        return Qt::SizeHorCursor;
    default:
        return Qt::ArrowCursor;
    }
}

// The last created lies on top.
QWidget *PointerDrag::controlAt(const QPoint &point) const
{
    const QList<QWidget *> controls = m_surface->form()->controls();
    for (auto it = controls.crbegin(); it != controls.crend(); ++it) {
        if (m_surface->boxOf(*it).contains(point))
            return *it;
    }
    return nullptr;
}
