// The handheld's screen as the device lays it out: the title bar at the top, the
// soft-key bar at the bottom, application windows in between.
#pragma once

#include <vector>

#include "state.h"

namespace tickvane::device {

constexpr int kTitleBarHeight = 26;
constexpr int kSoftKeyBarHeight = 26;

RECT work_area();
void compose();              // state().screen from the bars and the windows
void present_if_dirty();     // opens the display on first use
void open_display();
void rotate_screen();        // portrait <-> landscape; windows follow
void wait_on_fds(int timeout_ms, const std::vector<int>& fds);

}  // namespace tickvane::device
