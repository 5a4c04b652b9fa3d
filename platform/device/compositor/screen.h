// Composing the handheld's screen (the title bar at the top, the soft-key bar at the
// bottom, application windows in between) and showing it; rotation and keeping popups
// on screen.
#pragma once

#include <vector>

#include "compositor/compositor.h"
#include "screen/screen.h"
#include "wm/window_tree.h"

namespace tickvane::device {

// Brings compositor().pixels up to date in the damaged area and shows what really
// changed; opens the display on first use.
void present_if_dirty();
void open_display();
void rotate_screen();  // portrait <-> landscape; windows follow

// Where a popup's frame (a dialog, a message box) may stand: inside the work area; one
// taller than the work area covers the title bar instead, so that its caption and its
// buttons both stay visible. `above_title_bar` tells which.
RECT fit_into_work_area(const RECT& frame, bool& above_title_bar);
// After a rotation: every dialog and box keeps its relative place on the new screen,
// moved inside the new work area with its controls and dropped lists.
void keep_popups_on_screen(const RECT& old_work_area);
bool wait_on_fds(int timeout_ms, const std::vector<int>& fds);  // true when one may be readable

}  // namespace tickvane::device
