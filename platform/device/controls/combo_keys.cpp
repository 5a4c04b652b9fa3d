// The keys of a combo box. Closed, the arrows, Home, End and the page keys change the
// selection (CBN_SELCHANGE); dropped, they move the list's highlight, Enter takes it
// and Escape leaves the selection as it was. F4 and Alt+Up/Down drop or close it.
#include <algorithm>

#include "controls/combo_box.h"
#include "controls/control_classes.h"

namespace tickvane::device {

namespace {

constexpr int kNoMove = -2;

// Where a navigation key leads from `at` among `count` items, `page` at a time.
int target(WPARAM vk, int at, int count, int page)
{
    if (count <= 0)
        return kNoMove;
    int last = count - 1;
    switch (vk) {
    case VK_UP:
    case VK_LEFT:
        return at < 0 ? 0 : std::max(at - 1, 0);
    case VK_DOWN:
    case VK_RIGHT:
        return at < 0 ? 0 : std::min(at + 1, last);
    case VK_PRIOR:
        return at < 0 ? 0 : std::max(at - page, 0);
    case VK_NEXT:
        return at < 0 ? 0 : std::min(at + page, last);
    case VK_HOME:
        return 0;
    case VK_END:
        return last;
    }
    return kNoMove;
}

void toggle(HWND combo, const ComboBox& c)
{
    if (c.list != nullptr)
        close_list(combo, true);
    else
        open_list(combo);
}

bool key_while_dropped(HWND combo, ComboBox& c, WPARAM vk)
{
    if (vk == VK_RETURN || vk == VK_ESCAPE) {
        close_list(combo, vk == VK_RETURN);
        return true;
    }
    int to = target(vk, c.highlight, c.items.count(), std::max(c.rows - 1, 1));
    if (to == kNoMove)
        return false;
    move_highlight(combo, to);
    return true;
}

bool key_while_closed(HWND combo, ComboBox& c, WPARAM vk)
{
    int at = c.items.selected();
    int to = target(vk, at, c.items.count(), std::max(rows_for_dropped_height(combo) - 1, 1));
    if (to == kNoMove)
        return vk == VK_UP || vk == VK_DOWN || vk == VK_LEFT || vk == VK_RIGHT;
    if (to == at)
        return true;
    c.items.select(to);
    InvalidateRect(combo, nullptr, FALSE);
    notify_parent(combo, CBN_SELCHANGE);
    return true;
}

}  // namespace

bool combo_key(HWND combo, UINT message, WPARAM vk)
{
    ComboBox* c = combo_of(combo);
    if (c == nullptr || !IsWindowEnabled(combo))
        return false;
    if (message == WM_SYSKEYDOWN) {
        if (vk != VK_DOWN && vk != VK_UP)
            return false;
        toggle(combo, *c);
        return true;
    }
    if (vk == VK_F4) {
        toggle(combo, *c);
        return true;
    }
    return c->list != nullptr ? key_while_dropped(combo, *c, vk) : key_while_closed(combo, *c, vk);
}

}  // namespace tickvane::device
