// The screen brought up to date: the windows' layers and title from the window manager
// and the soft-key bar from the shell go to the compositor. It sits above all three; the
// message loop reaches it through the presenter set at start.
#pragma once

namespace tickvane::device {

void present_screen();

}  // namespace tickvane::device
