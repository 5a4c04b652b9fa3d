// The control classes' own registrations and what they keep for each window.
#pragma once

#include "win32.h"

namespace tickvane::device {

// Each forgets the windows of a previous device run (a test's reset drops windows
// without destroying them) and registers its class.
void register_button_class();
void register_static_class();
void register_combo_box_classes();

// WM_COMMAND to the control's parent with the control's id and `code`.
void notify_parent(HWND control, WORD code);

}  // namespace tickvane::device
