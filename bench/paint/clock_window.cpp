#include "clock_window.h"

#include "testing.h"
#include "zubo.h"

namespace dt = tickvane::device::testing;

namespace tickvane::bench {

namespace {
constexpr COLORREF kWhite = RGB(255, 255, 255);
}  // namespace

HWND open_clock_window(int screen_width, int screen_height)
{
    dt::Options options;
    options.width = screen_width;
    options.height = screen_height;
    dt::reset(options);
    g_hInst = dt::instance();
    WNDCLASSW wc = {};
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = MainWndProc;
    wc.hInstance = g_hInst;
    wc.lpszClassName = u"zerez";
    if (!RegisterClassW(&wc))
        return nullptr;
    // WM_CREATE builds the back buffer and starts the refresh timer, which never fires here.
    HWND hwnd = CreateWindowExW(0, u"zerez", u"Tickvane", WS_SYSMENU, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                CW_USEDEFAULT, nullptr, nullptr, g_hInst, nullptr);
    return hwnd != nullptr && g_hdcBack != nullptr ? hwnd : nullptr;
}

bool back_buffer_shows_a_face(HWND hwnd)
{
    RECT client;
    GetClientRect(hwnd, &client);
    int white = 0, ink = 0;
    for (int y = client.top; y < client.bottom; ++y)
        for (int x = client.left; x < client.right; ++x)
            (GetPixel(g_hdcBack, x, y) == kWhite ? white : ink) += 1;
    return white > 0 && ink > 0;
}

void paint_once(HWND hwnd)
{
    InvalidateRect(hwnd, nullptr, FALSE);
    PaintClockFace(hwnd, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
}

void unsettle_back_buffer()
{
    RECT corner{0, 0, 1, 1};
    FillRect(g_hdcBack, &corner, (HBRUSH)GetStockObject(BLACK_BRUSH));
}

}  // namespace tickvane::bench
