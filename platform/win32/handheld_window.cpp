// The program window as the handheld on the desktop: its client area is the screen. It
// opens in the middle of the work area, can be resized (not below the smallest handheld
// screen), and F5 rotates it between portrait and landscape, as the device's window does.
// Its place and size outlast the process, for the next appearance.
#include "handheld_screen.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <tuple>

#undef GetClientRect  // the window's own client area, in device pixels

namespace tickvane::win32 {
namespace {

// The handheld's program window has a caption and the soft keys; on the desktop it also
// gets a frame that the user can drag.
const LONG kAddedStyle = WS_CAPTION | WS_THICKFRAME;
// A drag moves and sizes the window many times: its place is written once it has rested.
const UINT_PTR kSavePlaceTimer = 0x5350;
const UINT kSavePlaceDelayMs = 500;
std::optional<HandheldPlace> g_unsavedPlace;

SIZE frame_for(HWND hwnd, SIZE client)
{
    RECT r = {0, 0, client.cx, client.cy};
    AdjustWindowRectEx(&r, (DWORD)GetWindowLongW(hwnd, GWL_STYLE), GetMenu(hwnd) != nullptr,
                       (DWORD)GetWindowLongW(hwnd, GWL_EXSTYLE));
    return SIZE{r.right - r.left, r.bottom - r.top};
}

RECT work_area_at(POINT point)
{
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromPoint(point, MONITOR_DEFAULTTONEAREST), &monitor);
    return monitor.rcWork;
}

// Centred on `centre`, but inside the work area, where no taskbar covers it; a frame
// larger than the work area is cut to it, so that the caption stays in reach.
RECT placed(SIZE frame, POINT centre)
{
    RECT work = work_area_at(centre);
    LONG width = std::min(frame.cx, work.right - work.left), height = std::min(frame.cy, work.bottom - work.top);
    LONG left = std::clamp(centre.x - width / 2, work.left, work.right - width);
    LONG top = std::clamp(centre.y - height / 2, work.top, work.bottom - height);
    return RECT{left, top, left + width, top + height};
}

void show_client(HWND hwnd, SIZE client, POINT centre, UINT flags)
{
    RECT r = placed(frame_for(hwnd, client), centre);
    SetWindowPos(hwnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE | flags);
    // A menu bar that wraps onto a second row takes its height from the client area.
    RECT got;
    GetClientRect(hwnd, &got);
    if (got.bottom != client.cy && got.right == client.cx) {
        SIZE grown = {r.right - r.left, r.bottom - r.top + client.cy - got.bottom};
        r = placed(grown, centre);
        SetWindowPos(hwnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

// The program's icon group, which the handheld's taskbar shows; the clock's window class
// names none, and the desktop's title bar, taskbar and Alt+Tab would show a generic one.
const WORD kProgramIcon = 128;

void show_program_icon(HWND hwnd)
{
    if (GetClassLongPtrW(hwnd, GCLP_HICON) != 0)
        return;
    HINSTANCE program = GetModuleHandleW(nullptr);
    for (auto [which, width, height] :
         {std::tuple{ICON_BIG, SM_CXICON, SM_CYICON}, std::tuple{ICON_SMALL, SM_CXSMICON, SM_CYSMICON}}) {
        // Shared: the system keeps the icon for the process, so nothing is left to destroy.
        HANDLE icon = LoadImageW(program, MAKEINTRESOURCEW(kProgramIcon), IMAGE_ICON, GetSystemMetrics(width),
                                 GetSystemMetrics(height), LR_SHARED);
        if (icon != nullptr)
            SendMessageW(hwnd, WM_SETICON, which, (LPARAM)icon);
    }
}

SIZE zoomed(SIZE screen) { return SIZE{screen.cx * handheld_zoom(), screen.cy * handheld_zoom()}; }
SIZE unzoomed(SIZE client) { return SIZE{client.cx / handheld_zoom(), client.cy / handheld_zoom()}; }

POINT centre_of(const RECT& r) { return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

void rotate(HWND hwnd)
{
    if (IsIconic(hwnd))
        return;
    if (IsZoomed(hwnd))
        ShowWindow(hwnd, SW_RESTORE);
    RECT client, window;
    GetClientRect(hwnd, &client);
    GetWindowRect(hwnd, &window);
    show_client(hwnd, SIZE{client.bottom, client.right}, centre_of(window), 0);
}

void save_unsaved_place()
{
    if (g_unsavedPlace)
        save_handheld_place(*g_unsavedPlace);
    g_unsavedPlace.reset();
}

void place_changed(HWND hwnd)
{
    if (IsIconic(hwnd))
        return;  // a minimised window's place is not the handheld's
    RECT client, window;
    GetClientRect(hwnd, &client);
    GetWindowRect(hwnd, &window);
    g_unsavedPlace = HandheldPlace{unzoomed(SIZE{client.right, client.bottom}), centre_of(window)};
    SetTimer(hwnd, kSavePlaceTimer, kSavePlaceDelayMs, nullptr);
}

}  // namespace

void play_handheld_screen(HWND hwnd)
{
    SetWindowLongW(hwnd, GWL_STYLE, GetWindowLongW(hwnd, GWL_STYLE) | kAddedStyle);
    show_program_icon(hwnd);
    set_handheld_window(hwnd, zoom_for(hwnd));
    RECT window;
    GetWindowRect(hwnd, &window);
    std::optional<HandheldPlace> last = load_handheld_place();
    if (last)
        show_client(hwnd, zoomed(last->screen), last->centre, SWP_FRAMECHANGED);
    else
        show_client(hwnd, zoomed(handheld_screen()), centre_of(work_area_at(centre_of(window))), SWP_FRAMECHANGED);
    RECT client;
    GetClientRect(hwnd, &client);
    set_handheld_screen(unzoomed(SIZE{client.right, client.bottom}));
}

bool handheld_window_message(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    switch (message) {
    case WM_WINDOWPOSCHANGED:
        place_changed(hwnd);
        return false;
    case WM_TIMER:
        if (wParam != kSavePlaceTimer)
            return false;
        KillTimer(hwnd, kSavePlaceTimer);
        save_unsaved_place();
        *result = 0;
        return true;
    case WM_DESTROY:  // the clock ends soon after
        save_unsaved_place();
        return false;
    case WM_SIZE:
        // A minimised window keeps its screen; restored, it reports it again.
        if (wParam != SIZE_MINIMIZED)
            set_handheld_screen(unzoomed(SIZE{LOWORD(lParam), HIWORD(lParam)}));
        return false;
    case WM_DPICHANGED: {  // moved to a monitor of another density: the same screen, zoomed anew
        SIZE screen = handheld_screen();
        set_handheld_window(hwnd, zoom_for_dpi(HIWORD(wParam)));
        show_client(hwnd, zoomed(screen), centre_of(*(RECT*)lParam), 0);
        *result = 0;
        return true;
    }
    case WM_GETMINMAXINFO: {
        *result = DefSubclassProc(hwnd, message, wParam, lParam);
        SIZE smallest = frame_for(hwnd, zoomed(kSmallestScreen));
        auto* info = (MINMAXINFO*)lParam;
        info->ptMinTrackSize.x = std::max(info->ptMinTrackSize.x, smallest.cx);
        info->ptMinTrackSize.y = std::max(info->ptMinTrackSize.y, smallest.cy);
        return true;
    }
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK:
        if (handheld_zoom() == 1)
            return false;
        // A tap lands on the screen's pixel that the zoomed pixel under it shows.
        *result = DefSubclassProc(hwnd, message, wParam,
                                  MAKELPARAM(GET_X_LPARAM(lParam) / handheld_zoom(),
                                             GET_Y_LPARAM(lParam) / handheld_zoom()));
        return true;
    case WM_KEYDOWN:
        if (wParam != VK_F5)
            return false;
        if (!(lParam & (1 << 30)))  // a held key rotates once
            rotate(hwnd);
        *result = 0;
        return true;
    }
    return false;
}

}  // namespace tickvane::win32
