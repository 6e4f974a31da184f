#pragma once

// What a window keeps on each of its controls besides the control's own properties.

class QWidget;

namespace forms {

// The control's place in the window's tab order.
int tabIndexOf(const QWidget *control);
void setTabIndex(QWidget *control, int tabIndex);

} // namespace forms
