// The handheld's screen as the device lays it out: the title bar at the top, the
// soft-key bar at the bottom, application windows in between.
#pragma once

#include <vector>

#include "compositor/compositor.h"

namespace tickvane::device {

constexpr int kTitleBarHeight = 26;
constexpr int kSoftKeyBarHeight = 26;

RECT work_area();
// Something moved, appeared, went or was retitled: the whole screen is looked at again.
void mark_screen_changed();
// Pixels in `area` (screen coordinates) may have changed.
void mark_screen_area(const RECT& area);
bool screen_damaged();
// Brings compositor().pixels up to date in the damaged area from `layers` (bottom first)
// and the bars, and shows what really changed; opens the display on first use.
void present_if_dirty(const std::vector<Layer>& layers, const std::u16string& title);
void open_display();
// Portrait <-> landscape: the screen's size and the display's; windows are placed by wm/.
void turn_screen();

}  // namespace tickvane::device
