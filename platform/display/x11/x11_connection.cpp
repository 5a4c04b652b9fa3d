#include "x11_connection.h"

#include <cstdlib>

#include "scaled_blit.h"

namespace tickvane::display {
namespace {

bool writable_directly(const XVisualInfo& v)
{
    PixelLayout unused;
    return v.c_class == TrueColor && (v.depth == 24 || v.depth == 32) &&
           layout_for(v.red_mask, v.green_mask, v.blue_mask, v.depth, false, unused);
}

// The screen's own visual when it will do (no colormap or compositing detour), else
// any 24-bit one, else a 32-bit one (a 16-bit screen with Composite still offers those).
bool choose_visual(::Display* dpy, XVisualInfo& out)
{
    int screen = DefaultScreen(dpy);
    XVisualInfo wanted{};
    wanted.visualid = XVisualIDFromVisual(DefaultVisual(dpy, screen));
    int count = 0;
    if (XVisualInfo* found = XGetVisualInfo(dpy, VisualIDMask, &wanted, &count)) {
        bool usable = count > 0 && writable_directly(found[0]);
        if (usable)
            out = found[0];
        XFree(found);
        if (usable)
            return true;
    }
    for (int depth : {24, 32}) {
        if (XMatchVisualInfo(dpy, screen, depth, TrueColor, &out) != 0 && writable_directly(out))
            return true;
    }
    return false;
}

std::string unreachable(const std::string& detail) { return "no display reachable (" + detail + ")"; }

}  // namespace

bool open_x11_connection(X11Connection& out, std::string& why_not)
{
    const char* name = std::getenv("DISPLAY");
    if (name == nullptr || *name == '\0') {
        why_not = unreachable("DISPLAY is not set");
        return false;
    }
    ::Display* dpy = XOpenDisplay(nullptr);
    if (dpy == nullptr) {
        why_not = unreachable(std::string("cannot open display ") + XDisplayName(nullptr));
        return false;
    }
    XVisualInfo visual{};
    if (!choose_visual(dpy, visual)) {
        why_not = std::string("display ") + XDisplayName(nullptr) +
                  " has no 24- or 32-bit TrueColor visual (its depth is " +
                  std::to_string(DefaultDepth(dpy, DefaultScreen(dpy))) + ")";
        XCloseDisplay(dpy);
        return false;
    }
    out = X11Connection{dpy, visual};
    return true;
}

}  // namespace tickvane::display
