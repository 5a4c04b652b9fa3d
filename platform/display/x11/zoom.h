// How much the desktop window magnifies the handheld's screen on this monitor.
#pragma once

#include <X11/Xlib.h>

#include <string>

namespace tickvane::display {

struct ZoomFacts {
    int dpi = 96;                             // the desktop's DPI setting (Xft.dpi), 96 when it has none
    int work_width = 0, work_height = 0;      // the work area (the monitor less panels)
    int screen_width = 0, screen_height = 0;  // the handheld's screen, either orientation
    int requested = 0;                        // 0: none
};

// The requested zoom where it fits the work area in both orientations, else the
// largest that does (never below 1); without a request 2, or DPI / 48 rounded on a
// HiDPI desktop, as far as it fits. `warning` gets one line when a request is cut.
int choose_zoom(const ZoomFacts& facts, std::string* warning);

// The DPI setting and the work area, as the X server at `dpy` tells them.
ZoomFacts zoom_facts(::Display* dpy, int screen, Atom workarea);

}  // namespace tickvane::display
