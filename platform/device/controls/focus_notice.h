// A push button tells its parent whenever it gains or loses the focus (lParam: the
// button), so that the dialog manager can move the default-button look with the
// focus (DefDlgProcW). The number lies below WM_USER, in the range the system keeps
// for itself, where no public message is.
#pragma once

#include "win32.h"

namespace tickvane::device {

inline constexpr UINT kButtonFocusNotice = 0x03FF;

}  // namespace tickvane::device
