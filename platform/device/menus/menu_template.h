// Menu resources (the MENU template rc writes, and MENUEX) read into a Menu.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "menus/menus.h"

namespace tickvane::device {

// The menu in `bytes`; nothing when the template is malformed, has no items, nests
// too deep or runs past `size`. An item with no id, no text and no pop-up is a separator and
// carries MF_SEPARATOR, as Windows makes it.
std::optional<Menu> parse_menu_template(const uint8_t* bytes, size_t size);

}  // namespace tickvane::device
