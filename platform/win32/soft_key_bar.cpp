// SHCreateMenuBar on desktop Windows: the handheld's two soft keys become the two
// commands of an ordinary menu bar, and F1 / F2 press them as on the handheld. The
// window that gets the bar is the handheld's program window, so it also plays the screen.
#include "win32.h"

#include <commctrl.h>

#include "handheld_screen.h"

namespace {

const UINT_PTR kSoftKeySubclass = 0x534B;  // "SK"
const int kSoftKeys = 2;

// The clock may destroy its menu while the bar lives on, so the bar holds copies of the
// first two commands. Pop-up items have no soft-key counterpart here and are left out.
HMENU copy_soft_keys(HMENU source)
{
    HMENU bar = CreateMenu();
    int count = source ? GetMenuItemCount(source) : 0;
    for (int i = 0, copied = 0; bar && i < count && copied < kSoftKeys; ++i) {
        WCHAR text[128] = L"";
        MENUITEMINFOW item = {};
        item.cbSize = sizeof(item);
        item.fMask = MIIM_ID | MIIM_STRING | MIIM_SUBMENU | MIIM_STATE;
        item.dwTypeData = text;
        item.cch = 128;
        if (!GetMenuItemInfoW(source, (UINT)i, TRUE, &item) || item.hSubMenu != nullptr)
            continue;
        UINT flags = MF_STRING | ((item.fState & MFS_GRAYED) ? MF_GRAYED : 0);
        AppendMenuW(bar, flags, item.wID, text);
        ++copied;
    }
    return bar;
}

HMENU source_menu(const SHMENUBARINFO& info)
{
    if (info.dwFlags & SHCMBF_HMENU)
        return (HMENU)(ULONG_PTR)(LONG)info.nToolBarId;  // 32 significant bits, sign-extended
    return LoadMenuW(info.hInstRes, MAKEINTRESOURCEW(info.nToolBarId));
}

// F1 and F2 are the handheld's soft-key buttons; the rest of the window's share of its
// messages is playing the screen.
LRESULT CALLBACK program_window_proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR)
{
    if (message == WM_KEYDOWN && (wParam == VK_F1 || wParam == VK_F2)) {
        HMENU bar = GetMenu(hwnd);
        UINT id = bar ? GetMenuItemID(bar, wParam == VK_F1 ? 0 : 1) : (UINT)-1;
        if (id != (UINT)-1 && !(GetMenuState(bar, id, MF_BYCOMMAND) & MF_GRAYED))
            PostMessageW(hwnd, WM_COMMAND, id, 0);
        return 0;
    }
    if (message == WM_NCDESTROY)
        RemoveWindowSubclass(hwnd, program_window_proc, kSoftKeySubclass);
    LRESULT result = 0;
    if (tickvane::win32::handheld_window_message(hwnd, message, wParam, lParam, &result))
        return result;
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

}  // namespace

BOOL WINAPI SHCreateMenuBar(SHMENUBARINFO* info)
{
    if (info == nullptr || info->cbSize != sizeof(SHMENUBARINFO) || !IsWindow(info->hwndParent)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    HMENU source = (info->dwFlags & SHCMBF_EMPTYBAR) ? nullptr : source_menu(*info);
    if (!(info->dwFlags & SHCMBF_EMPTYBAR) && !IsMenu(source)) {
        SetLastError(ERROR_INVALID_MENU_HANDLE);
        return FALSE;
    }
    HMENU bar = copy_soft_keys(source);
    if (!(info->dwFlags & SHCMBF_HMENU) && source)
        DestroyMenu(source);  // loaded here, copied: not the caller's
    if (bar == nullptr || !SetMenu(info->hwndParent, bar)) {
        if (bar)
            DestroyMenu(bar);
        return FALSE;
    }
    SetWindowSubclass(info->hwndParent, program_window_proc, kSoftKeySubclass, 0);
    if (GetParent(info->hwndParent) == nullptr)
        tickvane::win32::play_handheld_screen(info->hwndParent);
    info->hwndMB = nullptr;  // the bar is part of the window's frame, not a window of its own
    return TRUE;
}
