// Reaching the X server and choosing a visual that our 8-bit-per-channel pixels go into directly.
#pragma once

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <string>

namespace tickvane::display {

struct X11Connection {
    ::Display* dpy = nullptr;
    XVisualInfo visual{};
};

// Opens the display that DISPLAY names and picks a TrueColor visual of depth 24 or 32.
// False with the reason when either is missing; nothing stays open then.
bool open_x11_connection(X11Connection& out, std::string& why_not);

}  // namespace tickvane::display
