// COMBOBOX with CBS_DROPDOWNLIST, shared by its files: what each combo box keeps, its
// measures, the dropped list, painting and keys.
#pragma once

#include "controls/combo_items.h"
#include "win32.h"

namespace tickvane::device {

// Kept in the combo box's extra bytes; its dropped list keeps the combo box's handle
// in its own.
struct ComboBox {
    ComboItems items;
    HFONT font = nullptr;    // WM_SETFONT's
    int dropped_height = 0;  // the created height: the box with its list below it
    HWND list = nullptr;     // the dropped list; null while closed
    int rows = 0;            // items the dropped list shows at once
    int highlight = -1;      // the list's highlighted item
    int top = 0;             // the first item the list shows
    bool pressing = false;   // the pointer went down on the box or the list while dropped
};

ComboBox* combo_of(HWND combo);  // null outside the combo box's life
HWND combo_of_list(HWND list);   // the combo box a dropped list belongs to; null when it has let go

// Measures, from the control's font.
int item_height(HWND combo);
int closed_height(HWND combo);
int arrow_width(HWND combo);
// Items a list dropped now would show at most: the created height leaves room for them.
int rows_for_dropped_height(HWND combo);

// The dropped list.
void register_list_class();
void open_list(HWND combo);
// Closes the list, selecting its highlighted item when `take_highlight`, and tells the
// parent (CBN_SELCHANGE when the selection changed, then CBN_CLOSEUP).
void close_list(HWND combo, bool take_highlight);
void destroy_list_quietly(HWND combo);  // the combo box itself goes
void items_changed(HWND combo);         // the list follows the items
void move_highlight(HWND combo, int to);
LRESULT pointer_while_dropped(HWND combo, UINT message, LPARAM point);

// The list's scroll bar, when it has more items than rows: arrows at both ends and a thumb.
struct ScrollBar {
    RECT bar{}, up{}, down{}, thumb{};
};
constexpr int kScrollBarWidth = 11;
ScrollBar scroll_bar_of(const RECT& list_client, const ComboBox& c);
bool has_scroll_bar(const ComboBox& c);

void paint_box(HWND combo);
void paint_list(HWND list, HWND combo);

// WM_KEYDOWN and WM_SYSKEYDOWN; false when the key means nothing to the combo box.
bool combo_key(HWND combo, UINT message, WPARAM vk);

}  // namespace tickvane::device
