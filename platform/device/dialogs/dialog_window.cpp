// The dialog window class and its default procedure: the program's dialog procedure
// first, then what Windows' DefDlgProc does for what it left alone.
#include "controls/look.h"
#include "dialogs/dialogs.h"
#include "gdi/gdi.h"
#include "wm/window_manager.h"
#include "device_state.h"
#include "wm/activation_state.h"
#include "wm/window_tree.h"

namespace tickvane::device {

namespace {

bool is_child_of(HWND child, HWND dialog)
{
    Window* w = find_window(child);
    return w != nullptr && w->parent == dialog;
}

void restore_focus(HWND dialog, DialogRecord& r)
{
    HWND target = r.saved_focus;
    if (!is_child_of(target, dialog) || !enabled_with_ancestors(target) || !IsWindowVisible(target))
        target = next_tab_item(dialog, nullptr, false);
    if (target != nullptr)
        SetFocus(target);
}

LRESULT on_activate(HWND dialog, WPARAM wParam)
{
    DialogRecord* r = dialog_record(dialog);
    if (r == nullptr)
        return 0;
    if (LOWORD(wParam) == WA_INACTIVE) {
        if (is_child_of(activation().focus, dialog))
            r->saved_focus = activation().focus;
        return 0;
    }
    restore_focus(dialog, *r);
    return 0;
}

LRESULT erase(HWND dialog, HDC hdc)
{
    RECT client;
    GetClientRect(dialog, &client);
    HBRUSH face = CreateSolidBrush(look::kDialogFace);  // a grey: the same as a COLORREF
    FillRect(hdc, &client, face);
    DeleteObject(face);
    return 1;
}

// Messages whose result is the dialog procedure's own return value.
bool returns_procedure_result(UINT message)
{
    return message == WM_INITDIALOG || message == WM_CTLCOLORSTATIC || message == WM_GETDLGCODE;
}

}  // namespace

DialogRecord* dialog_record(HWND dialog)
{
    auto it = device().dialogs.find((uintptr_t)dialog);
    return it == device().dialogs.end() ? nullptr : &it->second;
}

LRESULT CALLBACK dialog_window_proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (DialogRecord* r = dialog_record(hwnd); r != nullptr && r->proc != nullptr) {
        INT_PTR handled = r->proc(hwnd, message, wParam, lParam);
        if (handled != 0)
            return returns_procedure_result(message) ? handled : 0;
    }
    return DefDlgProcW(hwnd, message, wParam, lParam);
}

void register_dialog_class()
{
    WNDCLASSW wc{};
    wc.lpfnWndProc = dialog_window_proc;
    wc.lpszClassName = kDialogClass;
    RegisterClassW(&wc);
}

// The window manager's hook: a modal dialog destroyed without EndDialog ends its loop,
// but its owner stays disabled, as on Windows, where only EndDialog gives it back.
void before_destroy(Window& w)
{
    if (DialogRecord* r = dialog_record(w.handle))
        r->ended = true;
}

}  // namespace tickvane::device

using namespace tickvane::device;

LRESULT WINAPI DefDlgProcW(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    DialogRecord* r = dialog_record(dialog);
    switch (message) {
    case WM_ERASEBKGND:
        return erase(dialog, (HDC)wParam);
    case WM_ACTIVATE:
        DefWindowProcW(dialog, message, wParam, lParam);
        return on_activate(dialog, wParam);
    case WM_CLOSE: {
        // The caption's close box and Alt+F4 are Cancel, when there is one to press.
        HWND cancel = GetDlgItem(dialog, IDCANCEL);
        if (cancel == nullptr || IsWindowEnabled(cancel))
            PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), (LPARAM)cancel);
        return 0;
    }
    case DM_GETDEFID:
        return r != nullptr ? MAKELONG(r->default_id, DC_HASDEFID) : 0;
    case DM_SETDEFID:
        if (r != nullptr)
            r->default_id = (int)wParam;
        return TRUE;
    case WM_GETFONT:
        return r != nullptr ? (LRESULT)r->font : 0;
    }
    return DefWindowProcW(dialog, message, wParam, lParam);
}

HWND WINAPI GetDlgItem(HWND dialog, int id)
{
    for (auto& [value, w] : window_tree().windows)
        if (w->parent == dialog && w->id == id && dialog != nullptr)
            return w->handle;
    return nullptr;
}

int WINAPI GetDlgCtrlID(HWND hwnd)
{
    Window* w = find_window(hwnd);
    return w != nullptr && w->parent != nullptr ? w->id : 0;
}

LRESULT WINAPI SendDlgItemMessageW(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND item = GetDlgItem(dialog, id);
    return item == nullptr ? 0 : SendMessageW(item, message, wParam, lParam);
}
