// The screen as a person sees it, and the windows on it.
#include "compositor/screen.h"
#include "compositor/compositor.h"
#include "gdi/gdi_objects.h"
#include "present/present_screen.h"
#include "screen/screen.h"
#include "testing.h"
#include "wm/window_queries.h"

namespace tickvane::device::testing {

uint32_t screen_pixel(int x, int y)
{
    present_screen();
    if (x < 0 || y < 0 || x >= screen().width || y >= screen().height)
        return 0xFFFFFFFF;
    return compositor().pixels[(size_t)y * screen().width + x];
}

std::vector<uint32_t> screen_pixels()
{
    present_screen();
    return std::vector<uint32_t>(compositor().pixels.begin(), compositor().pixels.end());
}

int screen_width() { return screen().width; }
int screen_height() { return screen().height; }
RECT work_area() { return device::work_area(); }

HWND top_window()
{
    for (HWND hwnd : top_level_windows_front_first())
        if (IsWindowVisible(hwnd) && !IsIconic(hwnd))
            return hwnd;
    return nullptr;
}

// Live GDI objects: stock objects have handle values below the first one made.
size_t gdi_object_count()
{
    size_t n = 0;
    for (auto& [value, object] : gdi_objects().objects)
        if (value >= 0x10000)
            ++n;
    return n;
}

}  // namespace tickvane::device::testing
