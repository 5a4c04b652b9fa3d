// SHCreateMenuBar: a window's soft keys from the top level of a menu.
#include "softkeys/menu_bars.h"

#include "menus/menus.h"
#include "screen/screen.h"
#include "seams/seams.h"

namespace tickvane::device {

namespace {

constexpr size_t kKeys = 2;

// "&Options\tF1" shows as "Options": '&' marks a mnemonic, "&&" is a literal '&',
// and what follows a tab is an accelerator's name.
std::u16string visible_label(const std::u16string& text)
{
    std::u16string out;
    for (size_t i = 0; i < text.size() && text[i] != u'\t'; ++i) {
        if (text[i] == u'&' && i + 1 < text.size())
            ++i;
        else if (text[i] == u'&')
            break;
        out += text[i];
    }
    return out;
}

// No pop-up menus on this device: a pop-up item shows, but cannot be pressed.
SoftKey key_from(const MenuItem& item)
{
    SoftKey key;
    key.label = visible_label(item.text);
    key.id = item.id;
    key.enabled = !(item.flags & (MF_GRAYED | MF_DISABLED | MF_POPUP | MF_SEPARATOR));
    return key;
}

BOOL fail(DWORD error)
{
    SetLastError(error);
    return FALSE;
}

}  // namespace

const MenuBar* menu_bar_of(HWND owner)
{
    auto it = menu_bars().by_owner.find((uintptr_t)owner);
    return it == menu_bars().by_owner.end() || !IsWindow(owner) ? nullptr : &it->second;
}

}  // namespace tickvane::device

using namespace tickvane::device;

BOOL WINAPI SHCreateMenuBar(SHMENUBARINFO* info)
{
    if (info == nullptr || info->cbSize != sizeof(SHMENUBARINFO) || !IsWindow(info->hwndParent))
        return fail(ERROR_INVALID_PARAMETER);
    if (seams().refuse_menu_bars)
        return fail(ERROR_NOT_ENOUGH_MEMORY);
    MenuBar bar;
    bar.owner = info->hwndParent;
    if (!(info->dwFlags & SHCMBF_EMPTYBAR)) {
        // Without a menu handle the number names a toolbar resource; this device has none.
        const Menu* menu = (info->dwFlags & SHCMBF_HMENU) ? find_menu((HMENU)(uintptr_t)info->nToolBarId) : nullptr;
        if (menu == nullptr)
            return fail(ERROR_INVALID_PARAMETER);
        for (size_t i = 0; i < menu->items.size() && i < kKeys; ++i)
            bar.keys.push_back(key_from(menu->items[i]));
    }
    // A bar whose window went never shows again (menu_bar_of); here it is dropped too.
    std::erase_if(menu_bars().by_owner, [](const auto& entry) { return !IsWindow((HWND)entry.first); });
    bar.handle = menu_bars().next_handle++;
    info->hwndMB = (HWND)bar.handle;
    menu_bars().by_owner[(uintptr_t)bar.owner] = std::move(bar);  // replaces the window's earlier bar
    mark_screen_changed();
    return TRUE;
}
