// Composing the handheld's screen (the title bar at the top, the soft-key bar at the
// bottom, the windows it is given in between) and showing it.
#pragma once

#include <string>
#include <vector>

#include "compositor/compositor.h"
#include "screen/screen.h"

namespace tickvane::device {

// Brings compositor().pixels up to date in the damaged area from `layers` (bottom first),
// the title bar showing `title` and the soft-key bar's pixels, and shows what really
// changed; opens the display on first use.
void present_if_dirty(const std::vector<Layer>& layers, const std::u16string& title, const Surface& soft_keys);
void open_display();
// What the desktop window is told as it opens (zoom, place, icon) comes from whoever set
// the device up: the compositor knows none of them.
void set_desktop_options(display::DesktopOptions (*source)());
// The display takes the screen's size as it is now (after a turn).
void resize_display();
// Keeps where the desktop window is now, when that changed and a person put it there:
// as soon as it moved, so a clock that is killed comes back there too.
void keep_window_place();

}  // namespace tickvane::device
