#include "zoom.h"

#include "work_area.h"

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

ZoomFacts zoom_facts(::Display* dpy, int screen, Atom workarea)
{
    ZoomFacts f;
    f.dpi = desktop_dpi(dpy);
    Rect area = desktop_work_area(dpy, screen, workarea);
    f.work_width = area.w;
    f.work_height = area.h;
    return f;
}

}  // namespace tickvane::display
