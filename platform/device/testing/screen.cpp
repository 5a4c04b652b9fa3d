// The screen as a person sees it, and the windows on it.
#include "screen.h"
#include "state.h"
#include "testing.h"

namespace tickvane::device::testing {

uint32_t screen_pixel(int x, int y)
{
    present_if_dirty();
    if (x < 0 || y < 0 || x >= state().screen_width || y >= state().screen_height)
        return 0xFFFFFFFF;
    return state().screen[(size_t)y * state().screen_width + x];
}

std::vector<uint32_t> screen_pixels()
{
    present_if_dirty();
    return state().screen;
}

int screen_width() { return state().screen_width; }
int screen_height() { return state().screen_height; }
RECT work_area() { return device::work_area(); }

HWND top_window()
{
    for (auto it = state().z_order.rbegin(); it != state().z_order.rend(); ++it)
        if (Window* w = find_window(*it); w != nullptr && w->visible && !w->minimized)
            return w->handle;
    return nullptr;
}

// Live GDI objects: stock objects have handle values below the first one made.
size_t gdi_object_count()
{
    size_t n = 0;
    for (auto& [value, object] : state().gdi)
        if (value >= 0x10000)
            ++n;
    return n;
}

}  // namespace tickvane::device::testing
