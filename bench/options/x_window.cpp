#include "x_window.h"

#include <cstring>
#include <initializer_list>

namespace tickvane::bench {

namespace {

XEvent event_for(Display* display, Window window, int type)
{
    XEvent e{};
    e.xany.type = type;
    e.xany.display = display;
    e.xany.window = window;
    e.xany.send_event = True;
    return e;
}

void send(Display* display, Window window, XEvent& e, long mask) { XSendEvent(display, window, False, mask, &e); }

}  // namespace

void send_tap(Display* display, Window window, int x, int y)
{
    for (int type : {ButtonPress, ButtonRelease}) {
        XEvent e = event_for(display, window, type);
        e.xbutton.root = DefaultRootWindow(display);
        e.xbutton.subwindow = 0;
        e.xbutton.time = CurrentTime;
        e.xbutton.x = x;
        e.xbutton.y = y;
        e.xbutton.same_screen = True;
        e.xbutton.button = Button1;
        e.xbutton.state = type == ButtonRelease ? Button1Mask : 0;
        send(display, window, e, type == ButtonPress ? ButtonPressMask : ButtonReleaseMask);
    }
    XFlush(display);
}

bool send_key(Display* display, Window window, KeySym keysym)
{
    KeyCode code = XKeysymToKeycode(display, keysym);
    if (code == 0)
        return false;
    for (int type : {KeyPress, KeyRelease}) {
        XEvent e = event_for(display, window, type);
        e.xkey.root = DefaultRootWindow(display);
        e.xkey.time = CurrentTime;
        e.xkey.same_screen = True;
        e.xkey.keycode = code;
        send(display, window, e, type == KeyPress ? KeyPressMask : KeyReleaseMask);
    }
    XFlush(display);
    return true;
}

Window find_window(Display* display, const char* title)
{
    Window root_return, parent_return, *children = nullptr;
    unsigned count = 0;
    if (XQueryTree(display, DefaultRootWindow(display), &root_return, &parent_return, &children, &count) == 0)
        return 0;
    Window found = 0;
    for (unsigned i = 0; i < count && found == 0; ++i) {
        char* name = nullptr;
        XWindowAttributes at{};
        if (XFetchName(display, children[i], &name) != 0 && name != nullptr && std::strcmp(name, title) == 0 &&
            XGetWindowAttributes(display, children[i], &at) != 0 && at.map_state == IsViewable)
            found = children[i];
        if (name != nullptr)
            XFree(name);
    }
    if (children != nullptr)
        XFree(children);
    return found;
}

}  // namespace tickvane::bench
