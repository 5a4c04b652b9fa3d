// The screen brought up to date with the windows as they stand: their surfaces, bottom
// first, and the active window's title go to the compositor.
#pragma once

namespace tickvane::device {

void present_screen();

}  // namespace tickvane::device
