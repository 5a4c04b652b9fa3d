// Menus loaded from the program's resources, kept by handle until DestroyMenu.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "win32.h"

namespace tickvane::device {

struct MenuItem {
    UINT id = 0;     // the command it sends; 0 for pop-ups and separators
    UINT flags = 0;  // MF_* as stored in the template (MF_END removed)
    std::u16string text;
    std::vector<MenuItem> popup;  // with MF_POPUP
};

struct Menu {
    std::vector<MenuItem> items;  // top level, in order
};

struct MenuTable {
    std::map<uintptr_t, Menu> live;
    uintptr_t next = 0x00E70000;  // handle values are never given out twice by one device
};

MenuTable& menu_table();

// The live menu behind `menu`; null once destroyed or for a handle never given out.
const Menu* find_menu(HMENU menu);
// Keeps `menu` under a new handle, as LoadMenuW does; null when handles ran out.
HMENU add_menu(Menu menu);

}  // namespace tickvane::device
