#include "window_probe.h"

#include <fcntl.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "window_capture.h"

namespace tickvane::bench {

namespace {

Display* dpy(void* d) { return static_cast<Display*>(d); }

// A window can vanish between two requests; that is an answer, not a reason to exit.
int ignore_x_error(Display*, XErrorEvent*)
{
    g_x_error = true;
    return 0;
}

bool has_title(Display* d, Window w, const std::string& title)
{
    XTextProperty name{};
    if (XGetWMName(d, w, &name) == 0 || name.value == nullptr)
        return false;
    bool same = name.format == 8 && name.nitems == title.size() &&
                std::memcmp(name.value, title.data(), title.size()) == 0;
    XFree(name.value);
    return same;
}

bool is_viewable(Display* d, Window w, XWindowAttributes* at)
{
    return XGetWindowAttributes(d, w, at) != 0 && at->map_state == IsViewable && at->width > 0 && at->height > 0;
}

bool more_than_one_colour(XImage* image)
{
    unsigned long mask = image->red_mask | image->green_mask | image->blue_mask;
    if (mask == 0)
        mask = ~0ul;                    // a visual without colour masks: compare whole pixels
    if (image->bits_per_pixel == 32) {  // the usual case, read without a call per pixel
        uint32_t first, here;
        std::memcpy(&first, image->data, 4);
        for (int y = 0; y < image->height; ++y) {
            const char* row = image->data + static_cast<std::ptrdiff_t>(y) * image->bytes_per_line;
            for (int x = 0; x < image->width; ++x) {
                std::memcpy(&here, row + x * 4, 4);
                if (((first ^ here) & mask) != 0)
                    return true;
            }
        }
        return false;
    }
    unsigned long first = XGetPixel(image, 0, 0) & mask;
    for (int y = 0; y < image->height; ++y)
        for (int x = 0; x < image->width; ++x)
            if ((XGetPixel(image, x, y) & mask) != first)
                return true;
    return false;
}

WindowState state_of(WindowCapture& capture, Window w, const XWindowAttributes& at)
{
    XImage* image = capture.grab(w, at);
    return image != nullptr && more_than_one_colour(image) ? WindowState::Painted : WindowState::Unpainted;
}

// Looks at `parent`'s children and, for a window manager's frames, their children.
WindowState search(Display* d, WindowCapture& capture, Window parent, const std::string& title, int depth)
{
    Window root_return, parent_return, *children = nullptr;
    unsigned count = 0;
    if (XQueryTree(d, parent, &root_return, &parent_return, &children, &count) == 0)
        return WindowState::Missing;
    WindowState found = WindowState::Missing;
    for (unsigned i = count; i-- > 0 && found == WindowState::Missing;) {  // top-most first
        XWindowAttributes at{};
        if (has_title(d, children[i], title) && is_viewable(d, children[i], &at))
            found = state_of(capture, children[i], at);
        else if (depth > 0)
            found = search(d, capture, children[i], title, depth - 1);
    }
    if (children != nullptr)
        XFree(children);
    return found;
}

}  // namespace

std::unique_ptr<WindowProbe> WindowProbe::connect(std::string* why_not)
{
    const char* name = std::getenv("DISPLAY");
    Display* d = name != nullptr && *name != '\0' ? XOpenDisplay(name) : nullptr;
    if (d == nullptr) {
        *why_not = std::string("cannot open the X display ") + (name != nullptr ? name : "(DISPLAY is not set)");
        return nullptr;
    }
    XSetErrorHandler(ignore_x_error);
    fcntl(ConnectionNumber(d), F_SETFD, FD_CLOEXEC);  // the programs we start must not share it
    return std::unique_ptr<WindowProbe>(new WindowProbe(d));
}

WindowProbe::WindowProbe(void* display) : display_(display), capture_(new WindowCapture(dpy(display))) {}

WindowProbe::~WindowProbe()
{
    capture_.reset();
    XCloseDisplay(dpy(display_));
}

WindowState WindowProbe::look(const std::string& title)
{
    Display* d = dpy(display_);
    return search(d, *capture_, DefaultRootWindow(d), title, 1);
}

}  // namespace tickvane::bench
