// The dialog manager: dialog windows built from templates, their default procedure,
// the modal loop, and the keyboard interface of dialogs (Tab, Enter, Escape, arrows).
#pragma once

#include <functional>

#include "dialogs/dialog_record.h"
#include "res/dialog_template.h"
#include "wm/window_queries.h"

namespace tickvane::device {

inline constexpr char16_t kDialogClass[] = u"#32770";

void register_dialog_class();

// Builds the dialog and its controls and sends WM_INITDIALOG; null when a control
// cannot be made. The dialog is not shown.
HWND create_dialog(const DialogTemplate& t, HINSTANCE instance, HWND owner, DLGPROC proc, LPARAM param);

// Disables `owner`, shows `dialog` and dispatches every window's messages until the
// dialog ends or goes; then enables the owner again and returns the dialog's result.
INT_PTR run_modal(HWND dialog, HWND owner);

// The dialog's handling of a key meant for it or one of its controls; false when the
// message is to be dispatched as usual.
bool is_dialog_message(HWND dialog, const MSG& msg);

// Tab order: the next (or previous) enabled, visible control with WS_TABSTOP.
HWND next_tab_item(HWND dialog, HWND from, bool previous);
// The default-button look follows the focus: the focused push button looks like the
// default button, or, with the focus on another control, the dialog's default button.
void show_default_button_look(HWND dialog);

}  // namespace tickvane::device
