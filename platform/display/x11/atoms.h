// The X atoms the desktop window names, fetched in one round trip.
#pragma once

#include <X11/Xlib.h>

namespace tickvane::display {

struct Atoms {
    Atom wm_protocols = 0;
    Atom wm_delete_window = 0;
    Atom net_wm_name = 0;
    Atom utf8_string = 0;
    Atom net_active_window = 0;
    Atom net_wm_pid = 0;
    Atom net_wm_icon = 0;
    Atom wm_state = 0;
    Atom net_wm_state = 0;
    Atom net_wm_state_hidden = 0;
    Atom net_workarea = 0;
};

Atoms intern_atoms(::Display* dpy);

}  // namespace tickvane::display
