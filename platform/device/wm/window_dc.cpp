// Device contexts on windows: GDI draws into a window's pixels through a DC that asks
// the window manager, at each draw, where the window's client area lies now.
#include "gdi/gdi.h"
#include "wm/window_manager.h"
#include "wm/window_tree.h"

namespace tickvane::device {

namespace {

// A window's client area within its top-level window's surface, and where that surface
// stands on the screen; no surface once the window is gone.
SurfacePlace window_place(HANDLE owner)
{
    Window* w = find_window((HWND)owner);
    Window* top = top_level_of((HWND)owner);
    if (w == nullptr || top == nullptr)
        return {};
    return SurfacePlace{&top->surface, (int)(w->rect.left - top->frame.left), (int)(w->rect.top - top->frame.top)};
}

}  // namespace

HDC new_window_dc(HWND hwnd, const RECT& clip) { return new_shown_dc(window_place, hwnd, clip); }

}  // namespace tickvane::device

using namespace tickvane::device;

HDC WINAPI GetDC(HWND hwnd)
{
    RECT client;
    if (!GetClientRect(hwnd, &client))
        return nullptr;
    return new_window_dc(hwnd, client);
}

int WINAPI ReleaseDC(HWND hwnd, HDC hdc)
{
    (void)hwnd;
    return delete_shown_dc(hdc) ? 1 : 0;
}
