#include "clock_window.h"

#include "testing.h"
#include "zubo.h"

namespace dt = tickvane::device::testing;

namespace tickvane::bench {

namespace {
constexpr int kScreenWidth = 240, kScreenHeight = 320;
constexpr int kBackBufferSide = 400;
constexpr COLORREF kWhite = RGB(255, 255, 255);
}  // namespace

HWND open_clock_window()
{
    dt::reset();
    g_hInst = dt::instance();
    WNDCLASSW wc = {};
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = MainWndProc;
    wc.hInstance = g_hInst;
    wc.lpszClassName = u"zerez";
    if (!RegisterClassW(&wc))
        return nullptr;
    // WM_CREATE builds the back buffer and starts the refresh timer, which never fires here.
    HWND hwnd = CreateWindowExW(0, u"zerez", u"Tickvane", WS_SYSMENU, CW_USEDEFAULT, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, g_hInst, nullptr);
    return hwnd != nullptr && g_hdcBack != nullptr ? hwnd : nullptr;
}

bool back_buffer_shows_a_face(HWND hwnd)
{
    RECT client;
    GetClientRect(hwnd, &client);
    int white = 0, ink = 0;
    for (int y = client.top; y < client.bottom && y < kBackBufferSide; ++y)
        for (int x = client.left; x < client.right && x < kBackBufferSide; ++x)
            (GetPixel(g_hdcBack, x, y) == kWhite ? white : ink) += 1;
    return white > 0 && ink > 0;
}

void paint_once(HWND hwnd)
{
    InvalidateRect(hwnd, nullptr, FALSE);
    PaintClockFace(hwnd, kScreenWidth, kScreenHeight);
}

}  // namespace tickvane::bench
