#include "geometry.h"

#include "runtimeerror.h"
#include "twips.h"

#include <QCoreApplication>
#include <QHash>
#include <QResizeEvent>

namespace forms {

namespace {

// The twips each widget was placed at, finer than its whole pixels. Kept beside the widgets
// rather than as a property of each: a look-up by property name costs more than drawing an edge,
// and a face reads its places every time it is drawn.
using PlacedTwips = QHash<const QWidget *, TwipsRect>;
Q_GLOBAL_STATIC(PlacedTwips, placedTwips)

void rememberTwips(QWidget *widget, const TwipsRect &rect)
{
    PlacedTwips *placed = placedTwips();
    if (!placed)
        return;
    const auto found = placed->find(widget);
    if (found != placed->end()) {
        *found = rect;
        return;
    }
    placed->insert(widget, rect);
    QObject::connect(widget, &QObject::destroyed, [widget] {
        if (PlacedTwips *placed = placedTwips())
            placed->remove(widget);
    });
}

QRect toPixels(const TwipsRect &r)
{
    return QRect(twipsToPixelsX(r.left), twipsToPixelsY(r.top), twipsToPixelsX(r.width),
                 twipsToPixelsY(r.height));
}

TwipsRect fromPixels(const QRect &r)
{
    return {pixelsToTwipsX(float(r.x())), pixelsToTwipsY(float(r.y())),
            pixelsToTwipsX(float(r.width())), pixelsToTwipsY(float(r.height()))};
}

} // namespace

TwipsRect twipsGeometry(const QWidget *widget)
{
    if (const PlacedTwips *placed = placedTwips()) {
        const auto found = placed->constFind(widget);
        if (found != placed->constEnd() && toPixels(*found) == widget->geometry())
            return *found;
    }
    return fromPixels(widget->geometry());
}

void setTwipsGeometry(QWidget *widget, const TwipsRect &rect)
{
    if (rect.width < 0 || rect.height < 0)
        throw RuntimeError::invalidPropertyValue();
    const TwipsRect before = twipsGeometry(widget);
    rememberTwips(widget, rect);
    const QRect pixels = toPixels(rect);
    const QSize oldSize = widget->size();
    widget->setGeometry(pixels);
    if (!widget->isVisible() && oldSize != pixels.size() &&
        widget->testAttribute(Qt::WA_PendingResizeEvent)) {
        widget->setAttribute(Qt::WA_PendingResizeEvent, false);
        QResizeEvent event(pixels.size(), oldSize);
        QCoreApplication::sendEvent(widget, &event);
    } else if (oldSize == pixels.size() &&
               (before.width != rect.width || before.height != rect.height)) {
        // A new size that rounds to the same whole pixels is still a resize: a control that
        // fixes its own size (a 61-twip-high separator goes back to 60) must see it too.
        QResizeEvent event(pixels.size(), oldSize);
        QCoreApplication::sendEvent(widget, &event);
    }
}

void placeUntilShown(QWidget *widget, const TwipsRect &rect)
{
    rememberTwips(widget, rect);
    widget->setGeometry(toPixels(rect));
}

void moveControl(QWidget *widget, float left, std::optional<float> top, std::optional<float> width,
                 std::optional<float> height)
{
    const TwipsRect current = twipsGeometry(widget);
    setTwipsGeometry(widget, {left, top.value_or(current.top), width.value_or(current.width),
                              height.value_or(current.height)});
}

} // namespace forms
