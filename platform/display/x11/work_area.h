// The parts of the desktop a window may cover: each monitor less the panels.
#pragma once

#include <X11/Xlib.h>

#include <vector>

#include "display.h"

namespace tickvane::display {

// _NET_WORKAREA of the first desktop, else the whole screen.
Rect desktop_work_area(::Display* dpy, int screen, Atom workarea);

// The work area on each monitor (Xinerama), or the desktop's one when there is one monitor
// or no way to tell them apart.
std::vector<Rect> monitor_work_areas(::Display* dpy, int screen, Atom workarea);

}  // namespace tickvane::display
