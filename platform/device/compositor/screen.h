// Composing the handheld's screen (the title bar at the top, the soft-key bar at the
// bottom, the windows it is given in between) and showing it.
#pragma once

#include <string>
#include <vector>

#include "compositor/compositor.h"
#include "screen/screen.h"

namespace tickvane::device {

// Brings compositor().pixels up to date in the damaged area from `layers` (bottom first)
// and the bars, and shows what really changed; opens the display on first use.
void present_if_dirty(const std::vector<Layer>& layers, const std::u16string& title);
void open_display();
// What the desktop window is told as it opens (zoom, place, icon) comes from whoever set
// the device up: the compositor knows none of them.
void set_desktop_options(display::DesktopOptions (*source)());
// The soft-key bar's pixels (kSoftKeyBarHeight rows as wide as the screen) come from the
// bar itself, which damages its part of the screen when it draws them again; without a
// bar the work area shows there.
void set_soft_key_bar(const Surface& (*source)());
// The display takes the screen's size as it is now (after a turn).
void resize_display();

}  // namespace tickvane::device
