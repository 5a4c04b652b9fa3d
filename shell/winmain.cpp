// Start-up: one clock window at most, then the message loop.
#include "resource.h"
#include "zubo.h"

static const WCHAR kClassName[] = TEXT("zerez");
static const WCHAR kWindowTitle[] = TEXT("Tickvane");

static ATOM RegisterMainClass(void)
{
    WNDCLASSW wc = {};
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = MainWndProc;
    wc.cbClsExtra = 0;
    wc.cbWndExtra = 0;
    wc.hInstance = g_hInst;
    wc.hIcon = 0;
    wc.hCursor = LoadCursorW(0, IDC_ARROW);
    wc.hbrBackground = (HBRUSH)(ULONG_PTR)(SYS_COLOR_INDEX_FLAG | COLOR_WINDOW);
    wc.lpszMenuName = 0;
    wc.lpszClassName = kClassName;
    return RegisterClassW(&wc);
}

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPWSTR lpCmdLine, int nCmdShow)
{
    (void)lpCmdLine;

    HWND existing = FindWindowW(0, kWindowTitle);
    if (existing) {
        // The running clock is brought forward; a second one would only sit in an
        // empty message loop, so this instance ends here.
        SetForegroundWindow(existing);
        return 0;
    }

    g_hInst = hInstance;
    if (!hPrevInstance && !RegisterMainClass())
        return 0;

    HWND hwnd = CreateWindowExW(0, kClassName, kWindowTitle, WS_SYSMENU, CW_USEDEFAULT, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, 0, 0, g_hInst, 0);
    ShowWindow(hwnd, nCmdShow);
    UpdateWindow(hwnd);

    MSG msg = {};
    for (;;) {
        BOOL got = GetMessageW(&msg, 0, 0, 0);
        if (got == 0 || got == -1)
            break;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return (int)msg.wParam;
}
