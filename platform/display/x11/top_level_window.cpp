#include "top_level_window.h"

namespace tickvane::display {
namespace {

constexpr long kEvents = ExposureMask | ButtonPressMask | ButtonReleaseMask | Button1MotionMask | KeyPressMask |
                         KeyReleaseMask | FocusChangeMask | StructureNotifyMask;

void size_hints(::Display* dpy, Window window, int width, int height) {
    XSizeHints hints{};
    hints.flags = PMinSize | PMaxSize;
    hints.min_width = hints.max_width = width;
    hints.min_height = hints.max_height = height;
    XSetWMNormalHints(dpy, window, &hints);
}

void name_it(::Display* dpy, Window window, const Atoms& atoms) {
    static const char kTitle[] = "Tickvane";
    XStoreName(dpy, window, kTitle);
    XChangeProperty(dpy, window, atoms.net_wm_name, atoms.utf8_string, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(kTitle), sizeof kTitle - 1);
    char instance[] = "zubo", window_class[] = "Tickvane";
    XClassHint class_hint{instance, window_class};
    XSetClassHint(dpy, window, &class_hint);
}

}  // namespace

Window create_top_level_window(::Display* dpy, const XVisualInfo& visual, Colormap colormap, int width, int height,
                               const Atoms& atoms) {
    XSetWindowAttributes attributes{};
    attributes.background_pixmap = None;  // the server paints nothing before our first frame
    attributes.border_pixel = 0;          // required when the visual is not the root's
    attributes.colormap = colormap;
    attributes.event_mask = kEvents;
    Window window = XCreateWindow(dpy, RootWindow(dpy, visual.screen), 0, 0, static_cast<unsigned>(width),
                                  static_cast<unsigned>(height), 0, visual.depth, InputOutput, visual.visual,
                                  CWBackPixmap | CWBorderPixel | CWColormap | CWEventMask, &attributes);
    name_it(dpy, window, atoms);
    size_hints(dpy, window, width, height);
    XWMHints wm_hints{};
    wm_hints.flags = InputHint | StateHint;
    wm_hints.input = True;  // keys are part of the handheld
    wm_hints.initial_state = NormalState;
    XSetWMHints(dpy, window, &wm_hints);
    Atom close_request = atoms.wm_delete_window;
    XSetWMProtocols(dpy, window, &close_request, 1);
    return window;
}

void set_fixed_size(::Display* dpy, Window window, int width, int height) {
    size_hints(dpy, window, width, height);  // first, or a window manager may refuse the new size
    XResizeWindow(dpy, window, static_cast<unsigned>(width), static_cast<unsigned>(height));
}

void bring_forward(::Display* dpy, Window window, Window root, const Atoms& atoms) {
    XMapRaised(dpy, window);
    XEvent request{};
    request.xclient.type = ClientMessage;
    request.xclient.window = window;
    request.xclient.message_type = atoms.net_active_window;
    request.xclient.format = 32;
    request.xclient.data.l[0] = 2;  // on the person's behalf (they started the clock again), not a whim of ours
    request.xclient.data.l[1] = CurrentTime;
    XSendEvent(dpy, root, False, SubstructureRedirectMask | SubstructureNotifyMask, &request);
    XFlush(dpy);
}

}  // namespace tickvane::display
