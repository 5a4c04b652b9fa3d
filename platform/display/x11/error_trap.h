// Catches the X errors of a few requests that may fail for reasons outside our control
// (shared memory on a server that cannot reach it), instead of letting Xlib's default
// handler end the process.
#pragma once

#include <X11/Xlib.h>

namespace tickvane::display {

class XErrorTrap {
public:
    explicit XErrorTrap(::Display* dpy);
    ~XErrorTrap();
    XErrorTrap(const XErrorTrap&) = delete;
    XErrorTrap& operator=(const XErrorTrap&) = delete;

    // Waits for the server to answer everything sent so far; true if any of it failed.
    bool caught();

private:
    ::Display* dpy_;
    XErrorHandler previous_;
};

}  // namespace tickvane::display
