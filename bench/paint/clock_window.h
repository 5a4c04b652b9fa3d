// The clock's window on a fresh headless device, set up the way WinMain sets it up,
// so that a benchmark can paint it without running the message loop.
#pragma once

#include "win32.h"

namespace tickvane::bench {

// Null when the window or its back buffer could not be made.
HWND open_clock_window(int screen_width, int screen_height);

// True when the back buffer's part under the client area holds both the white fill and
// ink: a paint that drew nothing, or only the fill, fails this.
bool back_buffer_shows_a_face(HWND hwnd);

// One refresh exactly as a tick does it.
void paint_once(HWND hwnd);

// A pixel of the back buffer drawn over, so that the next paint cannot build on the last
// one: it fills, copies and compares everything, as the first paint does.
void unsettle_back_buffer();

}  // namespace tickvane::bench
