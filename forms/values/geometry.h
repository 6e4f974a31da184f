#pragma once

#include <QWidget>

#include <optional>

namespace forms {

// A control's position and size in its container, in twips.
struct TwipsRect
{
    float left = 0;
    float top = 0;
    float width = 0;
    float height = 0;

    friend bool operator==(const TwipsRect &, const TwipsRect &) = default;
};

// The control's twips geometry exactly as last set, so that a layout which reads back what it
// has just written sees no rounding drift. When the widget has been placed by other means, the
// twips follow its pixel geometry.
TwipsRect twipsGeometry(const QWidget *widget);

// Places the widget on whole pixels and keeps the twips as given. A negative size is an invalid
// property value (380). A hidden widget gets its resize notification at once, as a visible one
// does, so that controls which fix their own size see every change.
void setTwipsGeometry(QWidget *widget, const TwipsRect &rect);

// Places a widget not yet shown without telling it: it hears of its size when it is shown, as the
// toolkit tells every widget.
void placeUntilShown(QWidget *widget, const TwipsRect &rect);

// Moves and sizes in one step; an omitted value stays as it is.
void moveControl(QWidget *widget, float left, std::optional<float> top = std::nullopt,
                 std::optional<float> width = std::nullopt,
                 std::optional<float> height = std::nullopt);

} // namespace forms
