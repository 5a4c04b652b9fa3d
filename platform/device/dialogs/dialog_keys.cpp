// The keyboard interface of dialogs, as IsDialogMessage gives it on Windows: Tab and
// Shift+Tab move between tab stops, arrows within a group, Enter presses the
// default button, Escape is Cancel. A control that asks for a key (WM_GETDLGCODE)
// gets it instead.
#include <vector>

#include "dialogs/dialogs.h"
#include "wm/window_manager.h"
#include "wm/window_queries.h"

namespace tickvane::device {

namespace {

// In tab order, which is the template's order.
std::vector<HWND> controls_of(HWND dialog) { return children_of(dialog); }

DWORD style_of(HWND control) { return (DWORD)GetWindowLongW(control, GWL_STYLE); }

bool can_take_focus(HWND control)
{
    return IsWindowVisible(control) && IsWindowEnabled(control) && (style_of(control) & WS_TABSTOP);
}

bool is_push_button(HWND control)
{
    return has_class(control, u"BUTTON") && (style_of(control) & 0x0F) <= BS_DEFPUSHBUTTON;
}

// The control of `dialog` that holds the focus, the focus itself being it or inside it.
HWND focused_control(HWND dialog)
{
    for (HWND w = GetFocus(); w != nullptr; w = parent_window(w))
        if (parent_window(w) == dialog)
            return w;
    return nullptr;
}

void press(HWND dialog, int id)
{
    HWND button = GetDlgItem(dialog, id);
    if (button != nullptr && !IsWindowEnabled(button))
        return;
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)button);
}

// Arrows move among the controls of the focused control's group: from the nearest
// WS_GROUP control at or before it to the one before the next WS_GROUP.
HWND next_in_group(HWND dialog, HWND from, bool previous)
{
    std::vector<HWND> all = controls_of(dialog);
    int at = -1;
    for (int i = 0; i < (int)all.size(); ++i)
        if (all[(size_t)i] == from)
            at = i;
    if (at < 0)
        return nullptr;
    int first = at;
    while (first > 0 && !(style_of(all[(size_t)first]) & WS_GROUP))
        --first;
    int last = at;
    while (last + 1 < (int)all.size() && !(style_of(all[(size_t)last + 1]) & WS_GROUP))
        ++last;
    int n = last - first + 1;
    for (int step = 1; step < n; ++step) {
        int i = first + ((at - first) + (previous ? n - step : step)) % n;
        HWND w = all[(size_t)i];
        if (IsWindowVisible(w) && IsWindowEnabled(w) && !has_class(w, u"STATIC"))
            return w;
    }
    return nullptr;
}

void focus_control(HWND control)
{
    if (control != nullptr)
        SetFocus(control);
}

bool key_down(HWND dialog, const MSG& msg, LRESULT code)
{
    HWND focus = focused_control(dialog);
    auto vk = (int)msg.wParam;
    bool shift = GetKeyState(VK_SHIFT) < 0;
    switch (vk) {
    case VK_TAB:
        if (code & (DLGC_WANTTAB | DLGC_WANTALLKEYS))
            return false;
        focus_control(next_tab_item(dialog, focus, shift));
        return true;
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
        if (code & (DLGC_WANTARROWS | DLGC_WANTALLKEYS))
            return false;
        focus_control(next_in_group(dialog, focus, vk == VK_LEFT || vk == VK_UP));
        return true;
    case VK_RETURN: {
        if (code & DLGC_WANTALLKEYS)
            return false;
        if (is_push_button(focus) && IsWindowEnabled(focus))
            press(dialog, GetDlgCtrlID(focus));
        else
            press(dialog, LOWORD(SendMessageW(dialog, DM_GETDEFID, 0, 0)));
        return true;
    }
    case VK_ESCAPE:
        if (code & DLGC_WANTALLKEYS)
            return false;
        press(dialog, IDCANCEL);
        return true;
    }
    return false;
}

}  // namespace

HWND next_tab_item(HWND dialog, HWND from, bool previous)
{
    std::vector<HWND> all = controls_of(dialog);
    int n = (int)all.size();
    int at = -1;
    for (int i = 0; i < n; ++i)
        if (all[(size_t)i] == from)
            at = i;
    for (int step = 1; step <= n; ++step) {
        int i = at < 0 ? (previous ? n - step : step - 1) : (at + (previous ? n - step : step)) % n;
        if (can_take_focus(all[(size_t)i]))
            return all[(size_t)i];
    }
    return nullptr;
}

// A focus outside the dialog's controls leaves the looks as they are, for when it
// comes back.
void show_default_button_look(HWND dialog)
{
    HWND c = GetFocus();
    if (!is_child_of(c, dialog))
        return;
    int default_id = LOWORD(SendMessageW(dialog, DM_GETDEFID, 0, 0));
    int looks_default = is_push_button(c) ? GetDlgCtrlID(c) : default_id;
    for (HWND w : controls_of(dialog))
        if (is_push_button(w))
            SendMessageW(w, BM_SETSTYLE, GetDlgCtrlID(w) == looks_default ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

bool is_dialog_message(HWND dialog, const MSG& msg)
{
    if (msg.hwnd != dialog && !is_child_of(msg.hwnd, dialog))
        return false;
    if (msg.message != WM_KEYDOWN)
        return false;
    LRESULT code = SendMessageW(msg.hwnd, WM_GETDLGCODE, msg.wParam, (LPARAM)&msg);
    if (code & DLGC_WANTMESSAGE)
        return false;
    return key_down(dialog, msg, code);
}

}  // namespace tickvane::device
