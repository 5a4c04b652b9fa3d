// The shell's soft-key bar along the bottom of the screen: the menu bars that
// SHCreateMenuBar gives windows, drawn for the foreground window, pressed with a
// tap or with F1 (left) and F2 (right).
#pragma once

#include <cstdint>

#include "display/display.h"
#include "screen/surface.h"
#include "win32.h"
#include "wm/input_queue.h"

namespace tickvane::device {

// Draws the bar over all of `bar`.
void draw_soft_key_bar(Surface& bar);
// The bar's pixels, kSoftKeyBarHeight rows as wide as the screen. When what the bar
// shows changed they are drawn again first, and the bar's part of the screen is damaged.
const Surface& soft_key_bar_pixels();

// The shell's input filter, installed at start: it takes a press on the bar while no
// window is being pressed and everything up to that press's release, and F1 / F2 when
// there is an enabled key to press. A taken press or key that presses a soft key makes
// the key's command for the window that owns the bar.
Filtered soft_key_filter(const display::Event& e, MSG& out);

}  // namespace tickvane::device
