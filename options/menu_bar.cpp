// The soft-key menu bar and its two commands: options, and ending the program.
#include "resource.h"
#include "zubo.h"

void CreateMenuBar(HWND hwnd)
{
    g_hMenu = LoadMenuW(g_hInst, MAKEINTRESOURCE(IDR_MAINMENU));
    SHMENUBARINFO mbi = {};
    mbi.cbSize = sizeof(mbi);
    mbi.hwndParent = hwnd;
    mbi.dwFlags = SHCMBF_HMENU;
    mbi.nToolBarId = (UINT)(UINT_PTR)g_hMenu;
    mbi.hInstRes = g_hInst;
    if (!SHCreateMenuBar(&mbi))
        MessageBoxW(hwnd, TEXT("no"), TEXT("dame"), MB_OK);
}

// The exit command and the teardown may both come by: the menu goes once.
void ReleaseMainMenu(void)
{
    if (g_hMenu) {
        DestroyMenu(g_hMenu);
        g_hMenu = 0;
    }
}

// Ends the program without arranging a next appearance; one already registered stays.
void ConfirmExit(HWND hwnd)
{
    g_ignoreNextDeactivate = 1;
    int answer = MessageBoxW(hwnd, TEXT("終了しますか？"), TEXT("確認"), MB_OKCANCEL | MB_ICONQUESTION);
    if (answer == IDOK) {
        PostQuitMessage(0);
        ReleaseMainMenu();
    }
}

void OpenOptions(HWND hwnd)
{
    g_ignoreNextDeactivate = 1;
    ShowOptionsDialog(hwnd);
}
