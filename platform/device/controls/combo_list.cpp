// The dropped list of a combo box: a top-level popup owned by the combo box's dialog,
// placed under the box (above it when the work area has no room below), shown without
// taking the activation. The combo box keeps the focus and holds the pointer capture
// while it is dropped, so every tap comes to the combo box: on an item it picks it,
// anywhere else it closes the list.
#include <algorithm>
#include <cstring>
#include <string_view>

#include "controls/combo_box.h"
#include "controls/control_classes.h"
#include "controls/extra_bytes.h"
#include "geometry/rect.h"

namespace tickvane::device {

namespace {

constexpr char16_t kListClass[] = u"ComboLBox";
constexpr int kListBorder = 1;  // WS_BORDER
// The list's extra bytes hold the handle of its combo box, given at its creation.
constexpr int kComboSlot = kStateSlot;

bool contains(const RECT& r, int x, int y) { return to_rect(r).contains(x, y); }

bool is_combo_box(HWND hwnd)
{
    char16_t name[16];
    return GetClassNameW(hwnd, name, 16) > 0 && std::u16string_view(name) == u"COMBOBOX";
}

// The list's client area from (0, 0), and where its top left lies on the screen.
bool list_client(HWND list, RECT& client, POINT& origin)
{
    origin = POINT{0, 0};
    return GetClientRect(list, &client) && ClientToScreen(list, &origin);
}

// The list's frame for `rows` rows under (or over) the box, cut to the work area;
// `rows` comes back as the rows that fit.
RECT place_list(const RECT& box, int item, int& rows)
{
    RECT area{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    int wanted = rows * item + 2 * kListBorder;
    int below = (int)(area.bottom - box.bottom), above = (int)(box.top - area.top);
    bool up = wanted > below && above > below;
    int room = std::max(up ? above : below, item + 2 * kListBorder);
    rows = std::max(std::min(rows, (room - 2 * kListBorder) / item), 1);
    int height = rows * item + 2 * kListBorder;
    int top = up ? (int)box.top - height : (int)box.bottom;
    return RECT{box.left, top, box.right, top + height};
}

void keep_highlight_shown(ComboBox& c)
{
    int count = c.items.count();
    if (c.highlight >= 0) {
        if (c.highlight < c.top)
            c.top = c.highlight;
        if (c.highlight >= c.top + c.rows)
            c.top = c.highlight - c.rows + 1;
    }
    c.top = std::clamp(c.top, 0, std::max(count - c.rows, 0));
}

// Sizes and places the dropped list for the current items.
void lay_out(HWND combo, ComboBox& c)
{
    RECT box{}, now{};
    if (!GetWindowRect(combo, &box) || !GetWindowRect(c.list, &now))
        return;
    int rows = std::clamp(c.items.count(), 1, rows_for_dropped_height(combo));
    RECT frame = place_list(box, item_height(combo), rows);
    c.rows = rows;
    if (std::memcmp(&frame, &now, sizeof frame) != 0)
        SetWindowPos(c.list, nullptr, (int)frame.left, (int)frame.top, (int)(frame.right - frame.left),
                     (int)(frame.bottom - frame.top), SWP_NOZORDER | SWP_NOACTIVATE);
    if (!c.items.valid(c.highlight))
        c.highlight = c.items.selected();
    keep_highlight_shown(c);
    InvalidateRect(c.list, nullptr, FALSE);
}

void scroll_to(HWND list, ComboBox& c, int top)
{
    c.top = std::clamp(top, 0, std::max(c.items.count() - c.rows, 0));
    InvalidateRect(list, nullptr, FALSE);
}

// A press on the scroll bar: arrows scroll by an item, the track by a page.
void scroll_bar_press(ComboBox& c, const RECT& client, int x, int y)
{
    ScrollBar s = scroll_bar_of(client, c);
    if (contains(s.up, x, y))
        scroll_to(c.list, c, c.top - 1);
    else if (contains(s.down, x, y))
        scroll_to(c.list, c, c.top + 1);
    else if (y < s.thumb.top)
        scroll_to(c.list, c, c.top - c.rows);
    else if (y >= s.thumb.bottom)
        scroll_to(c.list, c, c.top + c.rows);
}

enum class Spot { Item, ScrollBar, List, Box, Outside };

// Where a point (screen coordinates) falls; `item` is set for Spot::Item.
Spot spot_at(HWND combo, const ComboBox& c, int x, int y, int& item)
{
    RECT box{}, frame{}, client{};
    POINT origin{};
    if (GetWindowRect(combo, &box) && contains(box, x, y))
        return Spot::Box;
    if (!GetWindowRect(c.list, &frame) || !contains(frame, x, y) || !list_client(c.list, client, origin))
        return Spot::Outside;
    int cx = x - (int)origin.x, cy = y - (int)origin.y;
    if (!contains(client, cx, cy))
        return Spot::List;  // its border
    if (has_scroll_bar(c) && contains(scroll_bar_of(client, c).bar, cx, cy))
        return Spot::ScrollBar;
    item = c.top + cy / item_height(combo);
    return c.items.valid(item) ? Spot::Item : Spot::List;
}

LRESULT CALLBACK list_proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT:
        if (HWND combo = combo_of_list(hwnd)) {
            paint_list(hwnd, combo);
            return 0;
        }
        break;
    case WM_ERASEBKGND:
        return 1;
    case WM_NCCREATE: {
        auto* cs = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(hwnd, kComboSlot, cs != nullptr ? (LONG_PTR)cs->lpCreateParams : 0);
        break;
    }
    case WM_NCDESTROY:
        // Gone with its owner (the dialog going) before the combo box closed it.
        if (HWND combo = combo_of_list(hwnd)) {
            combo_of(combo)->list = nullptr;
            if (GetCapture() == combo)
                ReleaseCapture();
        }
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

HWND combo_of_list(HWND list)
{
    auto combo = (HWND)GetWindowLongPtrW(list, kComboSlot);
    if (combo == nullptr || !is_combo_box(combo))
        return nullptr;
    ComboBox* c = combo_of(combo);
    return c != nullptr && c->list == list ? combo : nullptr;
}

bool has_scroll_bar(const ComboBox& c) { return c.items.count() > c.rows; }

ScrollBar scroll_bar_of(const RECT& client, const ComboBox& c)
{
    ScrollBar s;
    int width = std::min<int>(kScrollBarWidth, (int)client.right / 2);
    s.bar = RECT{client.right - width, 0, client.right, client.bottom};
    int arrow = std::min<int>(width, (int)client.bottom / 3);
    s.up = RECT{s.bar.left, 0, s.bar.right, arrow};
    s.down = RECT{s.bar.left, client.bottom - arrow, s.bar.right, client.bottom};
    int track = (int)(s.down.top - s.up.bottom);
    int count = std::max(c.items.count(), 1);
    int thumb = std::clamp(track * c.rows / count, std::min(6, track), track);
    int range = std::max(count - c.rows, 1);
    int at = (int)s.up.bottom + (track - thumb) * std::clamp(c.top, 0, range) / range;
    s.thumb = RECT{s.bar.left, at, s.bar.right, at + thumb};
    return s;
}

void register_list_class()
{
    WNDCLASSW wc{};
    wc.lpfnWndProc = list_proc;
    wc.cbWndExtra = (int)sizeof(LONG_PTR);
    wc.lpszClassName = kListClass;
    RegisterClassW(&wc);
}

void open_list(HWND combo)
{
    ComboBox* c = combo_of(combo);
    if (c == nullptr || c->list != nullptr || !IsWindowEnabled(combo) || !IsWindowVisible(combo))
        return;
    notify_parent(combo, CBN_DROPDOWN);  // the parent may fill the list now
    c = combo_of(combo);
    if (c == nullptr || c->list != nullptr)
        return;
    // Disabled, so that a tap on it can never activate it, should the capture be lost.
    // Made with the combo box as its parent, it is owned by the combo box's top-level window.
    HWND list = CreateWindowExW(0, kListClass, u"", WS_POPUP | WS_BORDER | WS_DISABLED, 0, 0, 0, 0, combo, nullptr,
                                nullptr, combo);
    if (list == nullptr || (c = combo_of(combo)) == nullptr) {
        DestroyWindow(list);
        return;
    }
    c->list = list;
    c->highlight = c->items.selected();
    c->top = 0;
    c->pressing = false;
    lay_out(combo, *c);
    ShowWindow(list, SW_SHOWNA);
    SetCapture(combo);
    InvalidateRect(combo, nullptr, FALSE);
}

void close_list(HWND combo, bool take_highlight)
{
    ComboBox* c = combo_of(combo);
    if (c == nullptr || c->list == nullptr)
        return;
    HWND list = c->list;
    c->list = nullptr;
    c->pressing = false;
    int before = c->items.selected();
    if (take_highlight && c->items.valid(c->highlight))
        c->items.select(c->highlight);
    bool changed = c->items.selected() != before;
    if (GetCapture() == combo)
        ReleaseCapture();
    DestroyWindow(list);
    InvalidateRect(combo, nullptr, FALSE);
    if (changed)
        notify_parent(combo, CBN_SELCHANGE);
    notify_parent(combo, CBN_CLOSEUP);
}

void destroy_list_quietly(HWND combo)
{
    ComboBox* c = combo_of(combo);
    if (c == nullptr || c->list == nullptr)
        return;
    HWND list = c->list;
    c->list = nullptr;
    if (GetCapture() == combo)
        ReleaseCapture();
    DestroyWindow(list);
}

void items_changed(HWND combo)
{
    InvalidateRect(combo, nullptr, FALSE);
    ComboBox* c = combo_of(combo);
    if (c != nullptr && c->list != nullptr)
        lay_out(combo, *c);
}

void move_highlight(HWND combo, int to)
{
    ComboBox* c = combo_of(combo);
    if (c == nullptr || c->list == nullptr || to == c->highlight)
        return;
    c->highlight = c->items.valid(to) ? to : -1;
    keep_highlight_shown(*c);
    InvalidateRect(c->list, nullptr, FALSE);
}

LRESULT pointer_while_dropped(HWND combo, UINT message, LPARAM point)
{
    ComboBox* c = combo_of(combo);
    POINT at{(short)LOWORD(point), (short)HIWORD(point)}, list_origin{};
    RECT list_area{};
    if (c == nullptr || !ClientToScreen(combo, &at) || !list_client(c->list, list_area, list_origin))
        return 0;
    int x = (int)at.x, y = (int)at.y;
    int item = -1;
    Spot spot = spot_at(combo, *c, x, y, item);
    switch (message) {
    case WM_LBUTTONDOWN:
        if (spot == Spot::Item) {
            c->pressing = true;
            move_highlight(combo, item);
        } else if (spot == Spot::ScrollBar) {
            scroll_bar_press(*c, list_area, x - (int)list_origin.x, y - (int)list_origin.y);
        } else if (spot != Spot::List) {
            close_list(combo, false);  // the box itself, or anywhere outside the list
        }
        break;
    case WM_MOUSEMOVE:
        if (c->pressing && spot == Spot::Item)
            move_highlight(combo, item);
        break;
    case WM_LBUTTONUP: {
        bool was_pressing = c->pressing;
        c->pressing = false;
        if (was_pressing && spot == Spot::Item) {
            move_highlight(combo, item);
            close_list(combo, true);
        }
        break;
    }
    }
    return 0;
}

}  // namespace tickvane::device
