// LoadMenuW, DestroyMenu, IsMenu: menus kept by handle. Handle values fit in 31 bits
// (a program may pass one through a 32-bit field) and are never given out twice in a
// process, so a stale handle can never reach a newer menu.
#include <map>

#include "menus/menu_template.h"
#include "menus/menus.h"
#include "parts/part.h"
#include "res/resources.h"

namespace tickvane::device {

namespace {

constexpr uintptr_t kLastHandle = 0x7FFFFFFF;
constexpr DWORD kErrorResourceNameNotFound = 1814;
constexpr DWORD kErrorInvalidData = 13;

}  // namespace

const Menu* find_menu(HMENU menu)
{
    auto it = menu_table().live.find((uintptr_t)menu);
    return it == menu_table().live.end() ? nullptr : &it->second;
}

HMENU add_menu(Menu menu)
{
    MenuTable& t = menu_table();
    if (t.next > kLastHandle) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    uintptr_t handle = t.next++;
    t.live.emplace(handle, std::move(menu));
    return (HMENU)handle;
}

namespace {

constinit parts::PartOf<MenuTable> g_menus;

}  // namespace

MenuTable& menu_table() { return g_menus.get(); }

}  // namespace tickvane::device

using namespace tickvane::device;

HMENU WINAPI LoadMenuW(HINSTANCE instance, LPCWSTR name)
{
    const ResEntry* e = find_resource(instance, name, RT_MENU);
    if (e == nullptr) {
        SetLastError(kErrorResourceNameNotFound);
        return nullptr;
    }
    std::optional<Menu> menu = parse_menu_template(e->data, e->size);
    if (!menu) {
        SetLastError(kErrorInvalidData);
        return nullptr;
    }
    return add_menu(std::move(*menu));
}

BOOL WINAPI DestroyMenu(HMENU menu)
{
    if (menu_table().live.erase((uintptr_t)menu) == 0) {
        SetLastError(ERROR_INVALID_MENU_HANDLE);
        return FALSE;
    }
    return TRUE;
}

BOOL WINAPI IsMenu(HMENU menu) { return find_menu(menu) != nullptr; }
