// The main window's procedure: one short handler per message.
#include "resource.h"
#include "zubo.h"

static const UINT kRefreshMs = 300;

static LRESULT OnCreate(HWND hwnd)
{
    CreateBackBuffer(hwnd);
    CreateMenuBar(hwnd);
    SetTimer(hwnd, ID_REFRESH_TIMER, kRefreshMs, 0);
    return 0;
}

static void RefreshFace(HWND hwnd)
{
    InvalidateRect(hwnd, 0, FALSE);
    int width = GetSystemMetrics(SM_CXSCREEN);
    int height = GetSystemMetrics(SM_CYSCREEN);
    FitBackBufferToScreen(hwnd, width, height);
    PaintClockFace(hwnd, width, height);
}

// Safe to run twice: a second run finds every handle at 0.
static void TearDown(HWND hwnd)
{
    KillTimer(hwnd, ID_REFRESH_TIMER);
    if (g_hdcBack) {
        DeleteDC(g_hdcBack);
        g_hdcBack = 0;
    }
    if (g_hbmBack) {
        DeleteObject(g_hbmBack);
        g_hbmBack = 0;
    }
    PostQuitMessage(0);
    ReleaseMainMenu();
}

// Switching to another program ends the appearance, unless the clock announced
// this deactivation itself (its own dialog or message box).
static LRESULT OnActivate(HWND hwnd, WPARAM wParam, LPARAM lParam)
{
    if (wParam != 0)
        return DefWindowProcW(hwnd, WM_ACTIVATE, wParam, lParam);
    if (g_ignoreNextDeactivate == 1) {
        g_ignoreNextDeactivate = 0;
        return 1;
    }
    DismissOnDeactivate(hwnd);
    return 0;
}

static LRESULT OnCommand(HWND hwnd, WPARAM wParam)
{
    switch (LOWORD(wParam)) {
    case IDM_DISMISS:
        DismissClock(hwnd);
        break;
    case IDM_EXIT:
        ConfirmExit(hwnd);
        break;
    case IDM_OPTION:
        OpenOptions(hwnd);
        break;
    }
    return 0;
}

LRESULT CALLBACK MainWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        return OnCreate(hwnd);
    case WM_PAINT:
        // A paint request is drawn exactly as a tick draws.
        SendMessageW(hwnd, WM_TIMER, ID_REFRESH_TIMER, 0);
        return 0;
    case WM_TIMER:
        if (wParam == ID_REFRESH_TIMER)
            RefreshFace(hwnd);
        return 0;
    case WM_DESTROY:
        TearDown(hwnd);
        return 0;
    case WM_LBUTTONUP:
        DismissClock(hwnd);
        return 0;
    case WM_ACTIVATE:
        return OnActivate(hwnd, wParam, lParam);
    case WM_COMMAND:
        return OnCommand(hwnd, wParam);
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}
