// The off-screen buffer every face is drawn into before one copy to the window.
#include "zubo.h"

// Small screens keep the buffer they always had; larger ones get one that covers them.
static const int kMinBackBufferSize = 400;
static int s_backBufferSide = 0;

// Square, so that the screen fits in either orientation without a new buffer.
static int BackBufferSideFor(int screenWidth, int screenHeight)
{
    int side = screenWidth > screenHeight ? screenWidth : screenHeight;
    return side > kMinBackBufferSize ? side : kMinBackBufferSize;
}

void CreateBackBuffer(HWND hwnd)
{
    int side = BackBufferSideFor(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    HDC hdc = GetDC(hwnd);
    g_hdcBack = CreateCompatibleDC(hdc);
    g_hbmBack = CreateCompatibleBitmap(hdc, side, side);
    SelectObject(g_hdcBack, g_hbmBack);
    ReleaseDC(hwnd, hdc);
    s_backBufferSide = side;
}

// A screen that grew past the buffer (a desktop window made larger) gets a new one,
// so that no glyph is cut at the buffer's edge.
void FitBackBufferToScreen(HWND hwnd, int screenWidth, int screenHeight)
{
    if (g_hdcBack == 0 || BackBufferSideFor(screenWidth, screenHeight) <= s_backBufferSide)
        return;
    DeleteDC(g_hdcBack);
    DeleteObject(g_hbmBack);
    CreateBackBuffer(hwnd);
}
