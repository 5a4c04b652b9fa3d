#include "work_area.h"

#include <X11/Xatom.h>
#include <X11/extensions/Xinerama.h>

#include <algorithm>

namespace tickvane::display {

Rect desktop_work_area(::Display* dpy, int screen, Atom workarea)
{
    Rect whole{0, 0, DisplayWidth(dpy, screen), DisplayHeight(dpy, screen)};
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    if (workarea == None || XGetWindowProperty(dpy, RootWindow(dpy, screen), workarea, 0, 4, False, XA_CARDINAL, &type,
                                               &format, &count, &after, &data) != Success)
        return whole;
    Rect area = whole;
    if (type == XA_CARDINAL && format == 32 && count >= 4) {
        const long* a = reinterpret_cast<const long*>(data);  // format 32 comes as long
        if (a[2] > 0 && a[3] > 0)
            area = Rect{static_cast<int>(a[0]), static_cast<int>(a[1]), static_cast<int>(a[2]), static_cast<int>(a[3])};
    }
    if (data != nullptr)
        XFree(data);
    return area;
}

std::vector<Rect> monitor_work_areas(::Display* dpy, int screen, Atom workarea)
{
    Rect desktop = desktop_work_area(dpy, screen, workarea);
    int event_base = 0, error_base = 0, count = 0;
    XineramaScreenInfo* monitors = nullptr;
    if (XineramaQueryExtension(dpy, &event_base, &error_base) && XineramaIsActive(dpy))
        monitors = XineramaQueryScreens(dpy, &count);
    std::vector<Rect> areas;
    for (int i = 0; i < count; ++i) {
        // _NET_WORKAREA spans every monitor: each monitor's share of it is that monitor's work area.
        const XineramaScreenInfo& m = monitors[i];
        int x0 = std::max<int>(m.x_org, desktop.x), y0 = std::max<int>(m.y_org, desktop.y);
        int x1 = std::min(m.x_org + m.width, desktop.x + desktop.w);
        int y1 = std::min(m.y_org + m.height, desktop.y + desktop.h);
        if (x1 > x0 && y1 > y0)
            areas.push_back(Rect{x0, y0, x1 - x0, y1 - y0});
    }
    if (monitors != nullptr)
        XFree(monitors);
    if (areas.empty())
        areas.push_back(desktop);
    return areas;
}

}  // namespace tickvane::display
