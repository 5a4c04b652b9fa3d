// What the dialog manager keeps for each dialog window (message boxes included). The
// record lives with its window: DefDlgProcW makes it at WM_NCCREATE, keeps its address
// in the dialog's private extra bytes, and frees it at WM_NCDESTROY.
#pragma once

#include "win32.h"

namespace tickvane::device {

struct DialogRecord {
    bool ended = false;
    INT_PTR result = 0;
    HWND disabled_owner = nullptr;  // the owner its modal loop disabled, enabled again by EndDialog
    HWND saved_focus = nullptr;     // the control that gets the focus when the dialog is activated
    int default_id = IDOK;
    HFONT font = nullptr;
};

// Past the bytes that every dialog class reserves (DLGWINDOWEXTRA): the record's address.
inline constexpr int kDialogRecordAt = DLGWINDOWEXTRA;
inline constexpr int kDialogWindowExtra = kDialogRecordAt + (int)sizeof(DialogRecord*);

// The record of a window of the dialog class; null for any other window or a gone one.
DialogRecord* dialog_record(HWND dialog);

}  // namespace tickvane::device
