#include "top_level_window.h"

#include <X11/Xatom.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstring>

namespace tickvane::display {
namespace {

constexpr long kEvents = ExposureMask | ButtonPressMask | ButtonReleaseMask | Button1MotionMask | KeyPressMask |
                         KeyReleaseMask | FocusChangeMask | StructureNotifyMask;

void size_hints(::Display* dpy, Window window, int width, int height,
                const std::optional<WindowPlace>& place = std::nullopt)
{
    XSizeHints hints{};
    hints.flags = PMinSize | PMaxSize;
    if (place) {
        // The person chose it, on an earlier run: window managers honour that over their own placement.
        hints.flags |= USPosition | PWinGravity;
        hints.x = place->x;
        hints.y = place->y;
        hints.win_gravity = NorthWestGravity;  // the frame's top-left goes there
    }
    hints.min_width = hints.max_width = width;
    hints.min_height = hints.max_height = height;
    XSetWMNormalHints(dpy, window, &hints);
}

void name_it(::Display* dpy, Window window, const Atoms& atoms)
{
    static const char kTitle[] = "Tickvane";
    XStoreName(dpy, window, kTitle);
    XChangeProperty(dpy, window, atoms.net_wm_name, atoms.utf8_string, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(kTitle), sizeof kTitle - 1);
    char instance[] = "zubo", window_class[] = "Tickvane";
    XClassHint class_hint{instance, window_class};
    XSetClassHint(dpy, window, &class_hint);
}

// WM_STATE Iconic (ICCCM) or _NET_WM_STATE_HIDDEN (EWMH): the window manager minimised it.
bool minimised(::Display* dpy, Window window, const Atoms& atoms)
{
    auto property = [&](Atom name, Atom type, long length, auto&& look) {
        Atom got = None;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        bool found = XGetWindowProperty(dpy, window, name, 0, length, False, type, &got, &format, &count, &after,
                                        &data) == Success &&
                     got == type && format == 32 && look(reinterpret_cast<const long*>(data), count);
        if (data != nullptr)
            XFree(data);
        return found;
    };
    bool iconic = property(atoms.wm_state, atoms.wm_state, 2,
                           [](const long* state, unsigned long n) { return n >= 1 && state[0] == IconicState; });
    return iconic || property(atoms.net_wm_state, XA_ATOM, 32, [&](const long* states, unsigned long n) {
               return std::find(states, states + n, static_cast<long>(atoms.net_wm_state_hidden)) != states + n;
           });
}

// The root's child that holds `window`: the frame when a window manager reparented it.
std::optional<Rect> outermost(::Display* dpy, Window window)
{
    Window root = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    for (Window w = window;; w = parent) {
        if (XQueryTree(dpy, w, &root, &parent, &children, &count) == 0)
            return std::nullopt;
        if (children != nullptr)
            XFree(children);
        if (parent == root) {
            int x = 0, y = 0;
            unsigned width = 0, height = 0, border = 0, depth = 0;
            if (XGetGeometry(dpy, w, &root, &x, &y, &width, &height, &border, &depth) == 0)
                return std::nullopt;
            return Rect{x, y, static_cast<int>(width + 2 * border), static_cast<int>(height + 2 * border)};
        }
    }
}

}  // namespace

Window create_top_level_window(::Display* dpy, const XVisualInfo& visual, Colormap colormap, int width, int height,
                               const Atoms& atoms, const std::optional<WindowPlace>& place)
{
    XSetWindowAttributes attributes{};
    attributes.background_pixmap = None;  // the server paints nothing before our first frame
    attributes.border_pixel = 0;          // required when the visual is not the root's
    attributes.colormap = colormap;
    attributes.event_mask = kEvents;
    int x = place ? place->x : 0, y = place ? place->y : 0;
    Window window = XCreateWindow(dpy, RootWindow(dpy, visual.screen), x, y, static_cast<unsigned>(width),
                                  static_cast<unsigned>(height), 0, visual.depth, InputOutput, visual.visual,
                                  CWBackPixmap | CWBorderPixel | CWColormap | CWEventMask, &attributes);
    name_it(dpy, window, atoms);
    size_hints(dpy, window, width, height, place);
    XWMHints wm_hints{};
    wm_hints.flags = InputHint | StateHint;
    wm_hints.input = True;  // keys are part of the handheld
    wm_hints.initial_state = NormalState;
    XSetWMHints(dpy, window, &wm_hints);
    Atom close_request = atoms.wm_delete_window;
    XSetWMProtocols(dpy, window, &close_request, 1);
    return window;
}

void set_fixed_size(::Display* dpy, Window window, int width, int height)
{
    size_hints(dpy, window, width, height);  // first, or a window manager may refuse the new size
    XResizeWindow(dpy, window, static_cast<unsigned>(width), static_cast<unsigned>(height));
}

void bring_forward(::Display* dpy, Window window, Window root, const Atoms& atoms)
{
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

void describe_to_desktop(::Display* dpy, Window window, const Atoms& atoms, const std::vector<uint32_t>& icon)
{
    long pid = static_cast<long>(getpid());  // format 32 goes as long
    XChangeProperty(dpy, window, atoms.net_wm_pid, XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&pid), 1);
    char host[HOST_NAME_MAX + 1] = {};
    if (gethostname(host, sizeof host - 1) == 0) {
        XTextProperty machine{reinterpret_cast<unsigned char*>(host), XA_STRING, 8, strlen(host)};
        XSetWMClientMachine(dpy, window, &machine);
    }
    if (icon.empty())
        return;
    std::vector<long> cardinals(icon.begin(), icon.end());
    XChangeProperty(dpy, window, atoms.net_wm_icon, XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(cardinals.data()), static_cast<int>(cardinals.size()));
}

std::optional<FrameFacts> frame_facts(::Display* dpy, Window window, const Atoms& atoms)
{
    XWindowAttributes ours{};
    if (XGetWindowAttributes(dpy, window, &ours) == 0)
        return std::nullopt;
    FrameFacts facts;
    facts.viewable = ours.map_state == IsViewable;
    facts.iconic = minimised(dpy, window, atoms);
    facts.image = Rect{0, 0, ours.width, ours.height};
    Window root = ours.root, child = 0;
    if (!XTranslateCoordinates(dpy, window, root, 0, 0, &facts.image.x, &facts.image.y, &child))
        return std::nullopt;
    std::optional<Rect> frame = outermost(dpy, window);
    if (!frame)
        return std::nullopt;
    facts.frame = *frame;
    return facts;
}

}  // namespace tickvane::display
