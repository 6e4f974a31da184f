#pragma once

#include <QIcon>

// The widget box's icons, drawn rather than shipped: a raised button face with a caption line,
// and a sunken separator.
QIcon lumoButtonIcon();
QIcon borderIcon();
