// Moving and sizing on the design surface: pointer drags of controls and handles, and the arrow
// keys, snapped to the grid and kept inside the client area.
#include "designsurface.h"

#include "form.h"
#include "selectionoverlay.h"
#include "twips.h"

#include <algorithm>
#include <cmath>

namespace {

// The smallest size a handle leaves: one pixel at the usual density.
constexpr float SmallestSize = 15;

} // namespace

void DesignSurface::pressAt(const QPoint &point, Qt::MouseButton button,
                            Qt::KeyboardModifiers modifiers)
{
    if (!m_form)
        return;
    const bool add = modifiers & Qt::ControlModifier;
    QWidget *grabbed = nullptr;
    m_edges = add ? NoEdge : handleAt(point, &grabbed);
    if (m_edges == NoEdge) {
        grabbed = controlAt(point);
        if (!(grabbed && m_selection.contains(grabbed) && !add))
            select(grabbed, add);
    }
    m_dragged = grabbed;
    m_pressPoint = point;
    m_dragging = grabbed && button == Qt::LeftButton;
    if (!m_dragging)
        return;
    m_beforeDrag = definition();
    m_selectedBeforeDrag = selectionKeys();
    m_pressPlaces.clear();
    for (QWidget *control : selection())
        m_pressPlaces.append({control, forms::twipsGeometry(control)});
}

void DesignSurface::dragTo(const QPoint &point, Qt::MouseButtons buttons)
{
    if (!m_dragging || !(buttons & Qt::LeftButton) || !m_dragged)
        return;
    if (m_edges == NoEdge)
        moveDragged(point);
    else
        resizeDragged(point);
    m_overlay->update();
}

void DesignSurface::moveDragged(const QPoint &point)
{
    float dx = forms::pixelsToTwipsX(float(point.x() - m_pressPoint.x()));
    float dy = forms::pixelsToTwipsY(float(point.y() - m_pressPoint.y()));
    // The control under the pointer lands on the grid; the others keep their distance to it.
    for (const auto &[control, place] : std::as_const(m_pressPlaces)) {
        if (control == m_dragged) {
            dx = snapped(place.left + dx) - place.left;
            dy = snapped(place.top + dy) - place.top;
        }
    }
    for (const auto &[control, place] : std::as_const(m_pressPlaces)) {
        if (!control)
            continue;
        forms::TwipsRect moved = place;
        moved.left += dx;
        moved.top += dy;
        forms::setTwipsGeometry(control, keptInside(moved, place));
    }
}

void DesignSurface::resizeDragged(const QPoint &point)
{
    forms::TwipsRect place;
    for (const auto &[control, pressed] : std::as_const(m_pressPlaces)) {
        if (control == m_dragged)
            place = pressed;
    }
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

void DesignSurface::release()
{
    if (m_dragging)
        recordEdit(m_edges == NoEdge ? tr("Move") : tr("Resize"), m_beforeDrag,
                   m_selectedBeforeDrag);
    m_dragging = false;
    m_edges = NoEdge;
    m_pressPlaces.clear();
}

float DesignSurface::snapped(float twips) const
{
    return m_grid ? std::round(twips / gridTwips()) * gridTwips() : twips;
}

// A move stops where the control would leave the client area: a grid step of it stays inside. A
// control that already lies further out may still move back.
forms::TwipsRect DesignSurface::keptInside(const forms::TwipsRect &place,
                                           const forms::TwipsRect &from) const
{
    const float keepX = std::min(place.width, gridTwips());
    const float keepY = std::min(place.height, gridTwips());
    forms::TwipsRect kept = place;
    kept.left = std::clamp(place.left, std::min(from.left, keepX - place.width),
                           std::max(from.left, clientWidth() - keepX));
    kept.top = std::clamp(place.top, std::min(from.top, keepY - place.height),
                          std::max(from.top, clientHeight() - keepY));
    return kept;
}

void DesignSurface::nudgeSelection(int dx, int dy, bool resize)
{
    const QList<QWidget *> controls = selection();
    if (controls.isEmpty())
        return;
    const forms::FormDefinition before = definition();
    const float tx = forms::pixelsToTwipsX(float(dx)), ty = forms::pixelsToTwipsY(float(dy));
    for (QWidget *control : controls) {
        const forms::TwipsRect from = forms::twipsGeometry(control);
        forms::TwipsRect place = from;
        if (resize) {
            place.width = std::max(0.0f, place.width + tx);
            place.height = std::max(0.0f, place.height + ty);
        } else {
            place.left += tx;
            place.top += ty;
            place = keptInside(place, from);
        }
        forms::setTwipsGeometry(control, place);
    }
    m_overlay->update();
    recordEdit(resize ? tr("Resize") : tr("Move"), before);
}

void DesignSurface::stepSelection(int dx, int dy, bool resize)
{
    if (!m_grid) {
        nudgeSelection(dx, dy, resize);
        return;
    }
    const QList<QWidget *> controls = selection();
    if (controls.isEmpty())
        return;
    const forms::FormDefinition before = definition();
    const float step = gridTwips();
    // The next grid line in the direction of the key.
    const auto next = [step](float twips, int direction) {
        if (direction > 0)
            return std::floor(twips / step) * step + step;
        if (direction < 0)
            return std::ceil(twips / step) * step - step;
        return twips;
    };
    for (QWidget *control : controls) {
        const forms::TwipsRect from = forms::twipsGeometry(control);
        forms::TwipsRect place = from;
        if (resize) {
            place.width = std::max(SmallestSize, next(from.left + from.width, dx) - from.left);
            place.height = std::max(SmallestSize, next(from.top + from.height, dy) - from.top);
        } else {
            place.left = next(from.left, dx);
            place.top = next(from.top, dy);
            place = keptInside(place, from);
        }
        forms::setTwipsGeometry(control, place);
    }
    m_overlay->update();
    recordEdit(resize ? tr("Resize") : tr("Move"), before);
}
