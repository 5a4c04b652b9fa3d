// A top-level window made as the clock makes its own (WS_SYSMENU, default place and size),
// for the stand-ins that act on the clock's window.
#pragma once

#include "win32.h"

namespace tickvane::win32::testing {

inline HWND create_program_window()
{
    static const wchar_t kClass[] = L"stand-in test window";
    WNDCLASSW wc = {};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kClass;
    RegisterClassW(&wc);  // once per process; later calls fail harmlessly
    return CreateWindowExW(0, kClass, L"program", WS_SYSMENU, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                           CW_USEDEFAULT, nullptr, nullptr, wc.hInstance, nullptr);
}

}  // namespace tickvane::win32::testing
