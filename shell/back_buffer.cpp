// The off-screen buffer every face is drawn into before one copy to the window.
#include "zubo.h"

static const int kBackBufferSize = 400;

void CreateBackBuffer(HWND hwnd)
{
    HDC hdc = GetDC(hwnd);
    g_hdcBack = CreateCompatibleDC(hdc);
    g_hbmBack = CreateCompatibleBitmap(hdc, kBackBufferSize, kBackBufferSize);
    SelectObject(g_hdcBack, g_hbmBack);
    ReleaseDC(hwnd, hdc);
}
