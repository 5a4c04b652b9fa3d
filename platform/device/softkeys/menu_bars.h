// The menu bars that SHCreateMenuBar made, one per window, each a copy of its menu's
// top-level items so that the bar outlives the menu.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "win32.h"

namespace tickvane::device {

struct SoftKey {
    std::u16string label;  // as shown: mnemonic marks removed
    UINT id = 0;           // the command it sends
    bool enabled = false;
};

struct MenuBar {
    HWND owner = nullptr;
    uintptr_t handle = 0;       // what SHCreateMenuBar gave back as the bar's window
    std::vector<SoftKey> keys;  // left, right; at most two
};

struct MenuBars {
    std::map<uintptr_t, MenuBar> by_owner;
    // Bar handles are opaque values, never windows, counted from far above the
    // window handles and never reused within a process.
    uintptr_t next_handle = 0x4D420000;
};

MenuBars& menu_bars();
// The bar of a window that is still there: a bar goes with its window.
const MenuBar* menu_bar_of(HWND owner);

}  // namespace tickvane::device
