#include "geometry.h"

#include "runtimeerror.h"
#include "twips.h"

#include <QCoreApplication>
#include <QResizeEvent>

namespace forms {

namespace {

constexpr char TwipsKey[] = "_forms_twips";

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
    const QVariant stored = widget->property(TwipsKey);
    if (stored.isValid()) {
        const QRectF r = stored.toRectF();
        const TwipsRect twips{float(r.x()), float(r.y()), float(r.width()), float(r.height())};
        if (toPixels(twips) == widget->geometry())
            return twips;
    }
    return fromPixels(widget->geometry());
}

void setTwipsGeometry(QWidget *widget, const TwipsRect &rect)
{
    if (rect.width < 0 || rect.height < 0)
        throw RuntimeError::invalidPropertyValue();
    const TwipsRect before = twipsGeometry(widget);
    widget->setProperty(TwipsKey, QRectF(rect.left, rect.top, rect.width, rect.height));
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

void moveControl(QWidget *widget, float left, std::optional<float> top, std::optional<float> width,
                 std::optional<float> height)
{
    const TwipsRect current = twipsGeometry(widget);
    setTwipsGeometry(widget, {left, top.value_or(current.top), width.value_or(current.width),
                              height.value_or(current.height)});
}

} // namespace forms
