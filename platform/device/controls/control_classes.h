// The control classes' own registrations, and what they share.
#pragma once

#include "win32.h"

namespace tickvane::device {

void register_button_class();
void register_static_class();
void register_combo_box_classes();

// The parent of a child control; null for a window that is no child.
HWND parent_of(HWND control);
// WM_COMMAND to the control's parent with the control's id and `code`.
void notify_parent(HWND control, WORD code);

}  // namespace tickvane::device
