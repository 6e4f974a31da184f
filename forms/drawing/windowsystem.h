#pragma once

namespace forms {

// Hands the display server the drawing the program has finished, without handling any event, so
// that a window repainted just before the thread blocks shows the new picture during the block.
// An X11 connection is flushed by the repaint itself; a Wayland connection otherwise only when
// the event loop next runs.
void flushWindowSystem();

} // namespace forms
