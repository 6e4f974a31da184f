// Moving and sizing on the design surface with the arrow keys, snapped to the grid and kept
// inside the client area.
#include "designsurface.h"

#include "form.h"
#include "twips.h"

#include <algorithm>
#include <cmath>

namespace {

// The smallest size a handle leaves: one pixel at the usual density.
constexpr float SmallestSize = 15;

} // namespace

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
    emit marksChanged();
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
    emit marksChanged();
    recordEdit(resize ? tr("Resize") : tr("Move"), before);
}
