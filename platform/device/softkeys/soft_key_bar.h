// The shell's soft-key bar along the bottom of the screen: the menu bars that
// SHCreateMenuBar gives windows, drawn for the foreground window, pressed with a
// tap or with F1 (left) and F2 (right).
#pragma once

#include <cstdint>

#include "display/display.h"
#include "win32.h"
#include "wm/input_queue.h"

namespace tickvane::device {

// Draws the bar into `pixels` (`width` x `height`, stride `width`, 0x00RRGGBB).
void draw_soft_key_bar(uint32_t* pixels, int width, int height);
// Changes whenever what draw_soft_key_bar would draw may have changed.
uint64_t soft_key_bar_version();

// The shell's input filter, installed at start: it takes a press on the bar while no
// window is being pressed and everything up to that press's release, and F1 / F2 when
// there is an enabled key to press. A taken press or key that presses a soft key makes
// the key's command for the window that owns the bar.
Filtered soft_key_filter(const display::Event& e, MSG& out);

}  // namespace tickvane::device
