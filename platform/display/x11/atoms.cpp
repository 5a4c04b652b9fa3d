#include "atoms.h"

namespace tickvane::display {

Atoms intern_atoms(::Display* dpy)
{
    // Same order as the fields of Atoms.
    // _NET_WORKAREA is made if no window manager has: reading it then finds nothing, which
    // costs less than a round trip of its own to ask whether it exists.
    const char* names[] = {"WM_PROTOCOLS",       "WM_DELETE_WINDOW",     "_NET_WM_NAME", "UTF8_STRING",
                           "_NET_ACTIVE_WINDOW", "_NET_WM_PID",          "_NET_WM_ICON", "WM_STATE",
                           "_NET_WM_STATE",      "_NET_WM_STATE_HIDDEN", "_NET_WORKAREA"};
    constexpr int kCount = sizeof names / sizeof names[0];
    Atom got[kCount] = {};
    XInternAtoms(dpy, const_cast<char**>(names), kCount, False, got);
    return Atoms{got[0], got[1], got[2], got[3], got[4], got[5], got[6], got[7], got[8], got[9], got[10]};
}

}  // namespace tickvane::display
