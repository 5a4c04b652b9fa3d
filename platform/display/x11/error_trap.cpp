#include "error_trap.h"

namespace tickvane::display {
namespace {

// One thread, one trap at a time: a plain flag is enough.
bool g_caught = false;

int remember_error(::Display*, XErrorEvent*)
{
    g_caught = true;
    return 0;
}

}  // namespace

XErrorTrap::XErrorTrap(::Display* dpy) : dpy_(dpy)
{
    XSync(dpy_, False);  // errors of earlier requests still belong to the previous handler
    g_caught = false;
    previous_ = XSetErrorHandler(remember_error);
}

XErrorTrap::~XErrorTrap()
{
    XSync(dpy_, False);
    XSetErrorHandler(previous_);
}

bool XErrorTrap::caught()
{
    XSync(dpy_, False);
    return g_caught;
}

}  // namespace tickvane::display
