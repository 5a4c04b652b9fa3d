// COMBOBOX: a drop-down list. Created with the height it has when dropped, it shrinks
// to one item's height and remembers the rest for its list. CB_ messages manage the
// items and the selection; a user's change is CBN_SELCHANGE to the parent, a program's
// CB_SETCURSEL is not.
#include <algorithm>
#include <cstring>

#include "controls/combo_box.h"
#include "controls/control_classes.h"
#include "controls/extra_bytes.h"
#include "controls/text_layout.h"
#include "text/text.h"

namespace tickvane::device {

namespace {

constexpr int kBoxPadding = 8;  // border and inner margin above and below the item

void fit_closed_height(HWND hwnd)
{
    RECT r{};
    GetWindowRect(hwnd, &r);
    SetWindowPos(hwnd, nullptr, 0, 0, (int)(r.right - r.left), closed_height(hwnd),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

std::u16string text_at(LPARAM p)
{
    auto* s = reinterpret_cast<const char16_t*>(p);
    return s != nullptr ? std::u16string(s) : std::u16string();
}

LRESULT copy_item(const ComboBox& c, int index, LPARAM buffer)
{
    if (!c.items.valid(index) || buffer == 0)
        return CB_ERR;
    const std::u16string& s = c.items.at(index);
    std::memcpy(reinterpret_cast<char16_t*>(buffer), s.c_str(), (s.size() + 1) * sizeof(char16_t));
    return (LRESULT)s.size();
}

LRESULT set_selection(HWND hwnd, ComboBox& c, int index)
{
    int result = c.items.select(index);
    if (c.list != nullptr)
        move_highlight(hwnd, c.items.selected());
    InvalidateRect(hwnd, nullptr, FALSE);
    return result;
}

LRESULT item_message(HWND hwnd, ComboBox& c, UINT message, WPARAM wParam, LPARAM lParam)
{
    bool sorted = (GetWindowLongW(hwnd, GWL_STYLE) & CBS_SORT) != 0;
    LRESULT result = 0;
    switch (message) {
    case CB_ADDSTRING:
        result = c.items.add(text_at(lParam), sorted);
        break;
    case CB_INSERTSTRING:
        result = c.items.insert((int)wParam, text_at(lParam));
        break;
    case CB_DELETESTRING:
        result = c.items.erase((int)wParam);
        break;
    case CB_RESETCONTENT:
        c.items.clear();
        break;
    case CB_GETCOUNT:
        return c.items.count();
    case CB_GETCURSEL:
        return c.items.selected();
    case CB_SETCURSEL:
        return set_selection(hwnd, c, (int)wParam);
    case CB_GETLBTEXT:
        return copy_item(c, (int)wParam, lParam);
    case CB_GETLBTEXTLEN:
        return c.items.valid((int)wParam) ? (LRESULT)c.items.at((int)wParam).size() : CB_ERR;
    case CB_GETDROPPEDSTATE:
        return c.list != nullptr;
    case CB_SHOWDROPDOWN:
        if (wParam)
            open_list(hwnd);
        else
            close_list(hwnd, false);
        return TRUE;
    }
    items_changed(hwnd);
    return result;
}

bool is_item_message(UINT message) { return message >= CB_ADDSTRING && message <= CB_GETDROPPEDSTATE; }

LRESULT dialog_code(const ComboBox* c, LPARAM lParam)
{
    // While dropped, Enter and Escape belong to the list, not to the dialog's buttons.
    auto* msg = reinterpret_cast<const MSG*>(lParam);
    if (c != nullptr && c->list != nullptr && msg != nullptr && msg->message == WM_KEYDOWN &&
        (msg->wParam == VK_RETURN || msg->wParam == VK_ESCAPE))
        return DLGC_WANTARROWS | DLGC_WANTMESSAGE;
    return DLGC_WANTARROWS;
}

LRESULT pointer(HWND hwnd, UINT message, LPARAM lParam)
{
    ComboBox* c = combo_of(hwnd);
    if (c == nullptr)
        return 0;
    if (c->list != nullptr)
        return pointer_while_dropped(hwnd, message, lParam);
    if (message != WM_LBUTTONDOWN || !IsWindowEnabled(hwnd))
        return 0;
    SetFocus(hwnd);
    if (GetFocus() != hwnd)
        return 0;
    open_list(hwnd);
    if ((c = combo_of(hwnd)) != nullptr && c->list != nullptr)
        c->pressing = true;  // releasing over an item picks it
    return 0;
}

LRESULT set_font(HWND hwnd, ComboBox& c, WPARAM font, LPARAM redraw)
{
    c.font = (HFONT)font;
    fit_closed_height(hwnd);
    return font_kept(hwnd, redraw);
}

LRESULT CALLBACK combo_proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    ComboBox* c = combo_of(hwnd);
    if (c == nullptr && message != WM_NCCREATE)  // before WM_NCCREATE, after WM_NCDESTROY
        return is_item_message(message) ? CB_ERR : DefWindowProcW(hwnd, message, wParam, lParam);
    if (is_item_message(message))
        return item_message(hwnd, *c, message, wParam, lParam);
    switch (message) {
    case WM_NCCREATE:
        if (keep_new_state<ComboBox>(hwnd) == nullptr)
            return FALSE;
        break;
    case WM_CREATE: {
        auto* cs = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        c->dropped_height = cs != nullptr ? cs->cy : 0;
        fit_closed_height(hwnd);
        return 0;
    }
    case WM_PAINT:
        paint_box(hwnd);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_SETFONT:
        return set_font(hwnd, *c, wParam, lParam);
    case WM_GETFONT:
        return (LRESULT)c->font;
    case WM_GETDLGCODE:
        return dialog_code(c, lParam);
    case WM_LBUTTONDOWN:
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
        return pointer(hwnd, message, lParam);
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        if (combo_key(hwnd, message, wParam))
            return 0;
        break;
    case WM_KILLFOCUS:
    case WM_CANCELMODE:
        close_list(hwnd, false);
        InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
    case WM_SHOWWINDOW:
    case WM_ENABLE:
        if (!wParam)
            close_list(hwnd, false);
        InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
    case WM_SETFOCUS:
        InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
    case WM_DESTROY:
        destroy_list_quietly(hwnd);
        return 0;
    case WM_NCDESTROY:
        free_kept_state<ComboBox>(hwnd);
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

ComboBox* combo_of(HWND combo) { return kept_state<ComboBox>(combo); }

// An item is as high as the font is for GDI (tmHeight), as on Windows.
int item_height(HWND combo) { return text::measure(u"", control_font_pixels(combo)).gdi_height; }

int closed_height(HWND combo) { return item_height(combo) + kBoxPadding; }

int arrow_width(HWND combo)
{
    RECT r{};
    GetClientRect(combo, &r);
    return std::clamp<int>(closed_height(combo) - 4, 0, (int)r.right / 2);
}

int rows_for_dropped_height(HWND combo)
{
    ComboBox* c = combo_of(combo);
    if (c == nullptr)
        return 1;
    int room = c->dropped_height - closed_height(combo) - 2;  // the list's border
    return std::max(room / item_height(combo), 1);
}

void register_combo_box_classes()
{
    WNDCLASSW wc{};
    wc.lpfnWndProc = combo_proc;
    wc.cbWndExtra = kStateBytes;
    wc.lpszClassName = u"COMBOBOX";
    RegisterClassW(&wc);
    register_list_class();
}

}  // namespace tickvane::device
