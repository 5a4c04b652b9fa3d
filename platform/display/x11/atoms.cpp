#include "atoms.h"

namespace tickvane::display {

Atoms intern_atoms(::Display* dpy)
{
    // Same order as the fields of Atoms.
    const char* names[] = {"WM_PROTOCOLS",       "WM_DELETE_WINDOW", "_NET_WM_NAME", "UTF8_STRING",
                           "_NET_ACTIVE_WINDOW", "_NET_WM_PID",      "_NET_WM_ICON"};
    Atom got[7] = {};
    XInternAtoms(dpy, const_cast<char**>(names), 7, False, got);
    return Atoms{got[0], got[1], got[2], got[3], got[4], got[5], got[6]};
}

}  // namespace tickvane::display
