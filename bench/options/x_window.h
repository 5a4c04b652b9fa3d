// The clock's desktop window from outside: found by its title, and given input straight
// with XSendEvent, as `xdotool --window` does: no pointer warp and no focus change, which
// the clock would take as the person leaving.
#pragma once

#include <X11/Xlib.h>

namespace tickvane::bench {

// A press and release of the first button at (x, y) in the window's own pixels.
void send_tap(Display* display, Window window, int x, int y);

// A press and release of the key `keysym`; false when the server has no key for it.
bool send_key(Display* display, Window window, KeySym keysym);

// The first mapped top-level window whose WM_NAME is `title`, or 0.
Window find_window(Display* display, const char* title);

}  // namespace tickvane::bench
