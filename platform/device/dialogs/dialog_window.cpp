// The dialog window class and its default procedure: the program's dialog procedure
// first, then what Windows' DefDlgProc does for what it left alone.
#include "controls/focus_notice.h"
#include "controls/look.h"
#include "dialogs/dialogs.h"
#include "gdi/gdi.h"
#include "wm/window_manager.h"
#include "wm/window_queries.h"

namespace tickvane::device {

namespace {

// Windows' DefDlgProc gives the focus back to the control that had it, or to the first
// tab stop; a dialog without either takes the focus itself, as any window would.
void restore_focus(HWND dialog, const DialogRecord* r)
{
    HWND target = r != nullptr ? r->saved_focus : nullptr;
    if (!is_child_of(target, dialog) || !enabled_with_ancestors(target) || !IsWindowVisible(target))
        target = next_tab_item(dialog, nullptr, false);
    SetFocus(target != nullptr ? target : dialog);
}

LRESULT on_activate(HWND dialog, WPARAM wParam)
{
    DialogRecord* r = dialog_record(dialog);
    if (LOWORD(wParam) == WA_INACTIVE) {
        if (r != nullptr && is_child_of(GetFocus(), dialog))
            r->saved_focus = GetFocus();
    } else {
        restore_focus(dialog, r);
    }
    return 0;
}

// Only windows of the dialog class have the record's bytes: a program's own class that
// borrows DefDlgProcW keeps whatever it put past DLGWINDOWEXTRA.
bool has_record_bytes(HWND hwnd)
{
    return has_class(hwnd, kDialogClass) && extra_byte_count(hwnd) >= (size_t)kDialogWindowExtra;
}

// The record is made with the window and goes with it.
LRESULT make_record(HWND dialog)
{
    if (has_record_bytes(dialog))
        SetWindowLongPtrW(dialog, kDialogRecordAt, (LONG_PTR) new DialogRecord);
    return TRUE;
}

void free_record(HWND dialog)
{
    if (!has_record_bytes(dialog))
        return;
    delete dialog_record(dialog);
    SetWindowLongPtrW(dialog, kDialogRecordAt, 0);
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
    return has_record_bytes(dialog) ? (DialogRecord*)GetWindowLongPtrW(dialog, kDialogRecordAt) : nullptr;
}

// The procedure's answer, as DefDlgProc gives it: its own return value for the few
// messages that return one, else what it put in DWLP_MSGRESULT. WM_NCDESTROY always
// reaches DefDlgProcW, which frees the record.
LRESULT CALLBACK dialog_window_proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (auto proc = (DLGPROC)GetWindowLongPtrW(hwnd, DWLP_DLGPROC)) {
        SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, 0);
        INT_PTR handled = proc(hwnd, message, wParam, lParam);
        if (handled != 0 && message != WM_NCDESTROY)
            return returns_procedure_result(message) ? handled : GetWindowLongPtrW(hwnd, DWLP_MSGRESULT);
    }
    return DefDlgProcW(hwnd, message, wParam, lParam);
}

void register_dialog_class()
{
    WNDCLASSW wc{};
    wc.lpfnWndProc = dialog_window_proc;
    wc.cbWndExtra = kDialogWindowExtra;
    wc.lpszClassName = kDialogClass;
    RegisterClassW(&wc);
}

}  // namespace tickvane::device

using namespace tickvane::device;

LRESULT WINAPI DefDlgProcW(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    DialogRecord* r = dialog_record(dialog);
    switch (message) {
    case WM_ERASEBKGND:
        return erase(dialog, (HDC)wParam);
    case WM_NCCREATE:
        return make_record(dialog);
    case WM_NCDESTROY:
        free_record(dialog);
        return 0;
    case WM_ACTIVATE:
        return on_activate(dialog, wParam);
    case kButtonFocusNotice:
        if (r != nullptr)
            show_default_button_look(dialog);
        return 0;
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
    for (HWND control : children_of(dialog))
        if (GetWindowLongW(control, GWL_ID) == id)
            return control;
    return nullptr;
}

int WINAPI GetDlgCtrlID(HWND hwnd) { return parent_window(hwnd) != nullptr ? GetWindowLongW(hwnd, GWL_ID) : 0; }

LRESULT WINAPI SendDlgItemMessageW(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND item = GetDlgItem(dialog, id);
    return item == nullptr ? 0 : SendMessageW(item, message, wParam, lParam);
}
