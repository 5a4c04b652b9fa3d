#include "zoom.h"

#include <X11/Xatom.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace tickvane::display {
namespace {

// "Xft.dpi:\t192" among the resources the desktop loaded into the server.
int desktop_dpi(::Display* dpy)
{
    const char* resources = XResourceManagerString(dpy);
    for (const char* line = resources; line != nullptr && *line != '\0';) {
        if (std::strncmp(line, "Xft.dpi:", 8) == 0) {
            double dpi = std::strtod(line + 8, nullptr);
            return dpi >= 24 && dpi <= 2000 ? static_cast<int>(std::lround(dpi)) : 96;
        }
        line = std::strchr(line, '\n');
        if (line != nullptr)
            ++line;
    }
    return 96;
}

// _NET_WORKAREA of the first desktop, else the whole screen.
void work_area(::Display* dpy, int screen, int& width, int& height)
{
    width = DisplayWidth(dpy, screen);
    height = DisplayHeight(dpy, screen);
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    Atom workarea = XInternAtom(dpy, "_NET_WORKAREA", True);
    if (workarea == None || XGetWindowProperty(dpy, RootWindow(dpy, screen), workarea, 0, 4, False, XA_CARDINAL, &type,
                                               &format, &count, &after, &data) != Success)
        return;
    if (type == XA_CARDINAL && format == 32 && count >= 4) {
        const long* area = reinterpret_cast<const long*>(data);  // format 32 comes as long
        if (area[2] > 0 && area[3] > 0) {
            width = static_cast<int>(area[2]);
            height = static_cast<int>(area[3]);
        }
    }
    if (data != nullptr)
        XFree(data);
}

}  // namespace

int choose_zoom(const ZoomFacts& f, std::string* warning)
{
    int side = std::max(f.screen_width, f.screen_height), room = std::min(f.work_width, f.work_height);
    int fitting = side > 0 && room > 0 ? std::max(room / side, 1) : 1;
    if (f.requested > 0) {
        if (f.requested <= fitting)
            return f.requested;
        if (warning != nullptr) {
            *warning = "tickvane: TICKVANE_SCALE=" + std::to_string(f.requested) + " does not fit the " +
                       std::to_string(f.work_width) + "x" + std::to_string(f.work_height) + " work area; using " +
                       std::to_string(fitting);
        }
        return fitting;
    }
    int wanted = std::max(2, static_cast<int>(std::lround(f.dpi / 48.0)));
    return std::min(wanted, fitting);
}

ZoomFacts zoom_facts(::Display* dpy, int screen)
{
    ZoomFacts f;
    f.dpi = desktop_dpi(dpy);
    work_area(dpy, screen, f.work_width, f.work_height);
    return f;
}

}  // namespace tickvane::display
