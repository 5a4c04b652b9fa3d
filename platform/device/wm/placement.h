// Where windows stand on the handheld's screen: popups kept inside the work area, and the
// windows that follow the screen when it turns.
#pragma once

#include "win32.h"

namespace tickvane::device {

// Where a popup's frame (a dialog, a message box) may stand: inside the work area; one
// taller than the work area covers the title bar instead, so that its caption and its
// buttons both stay visible. `above_title_bar` tells which.
RECT fit_into_work_area(const RECT& frame, bool& above_title_bar);
// After a rotation: every dialog and box keeps its relative place on the new screen,
// moved inside the new work area with its controls and dropped lists.
void keep_popups_on_screen(const RECT& old_work_area);
// Portrait <-> landscape: the windows that fill the work area take the new one and hear
// WM_SIZE, the popups stay in view.
void rotate_screen();

}  // namespace tickvane::device
