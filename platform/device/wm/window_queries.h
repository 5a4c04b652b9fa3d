// What the rest of the device may ask of the window tree. Windows are named by their
// handles; nothing outside wm/ reads a window's record or walks the tree itself.
#pragma once

#include <vector>

#include "win32.h"

namespace tickvane::device {

// A WS_CHILD window's children, in tab order (the order they were made).
std::vector<HWND> children_of(HWND parent);
// The top-level windows `owner` owns, in the order they were made.
std::vector<HWND> owned_by(HWND owner);
// The next (or previous) child of the same parent in tab order; null past either end.
HWND next_sibling(HWND child, bool previous);
// Every window, in the order they were made.
std::vector<HWND> all_window_handles();
// Top-level windows topmost first (z-order).
std::vector<HWND> top_level_windows_front_first();
// The parent of a WS_CHILD window; null for a top-level window (unlike GetParent).
HWND parent_window(HWND hwnd);
bool is_child_of(HWND child, HWND parent);
// The top-level window that holds `hwnd` (itself when it is one); null when there is none.
HWND top_level_window(HWND hwnd);
bool has_class(HWND hwnd, const char16_t* class_name);
size_t extra_byte_count(HWND hwnd);
// A popup placed over the title bar is shown there, its caption first.
void set_above_title_bar(HWND hwnd, bool above);

}  // namespace tickvane::device
