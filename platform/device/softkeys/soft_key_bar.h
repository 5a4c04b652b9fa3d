// The shell's soft-key bar along the bottom of the screen: the menu bars that
// SHCreateMenuBar gives windows, drawn for the foreground window, pressed with a
// tap or with F1 (left) and F2 (right).
#pragma once

#include <cstdint>

#include "display/display.h"
#include "win32.h"

namespace tickvane::device {

// Draws the bar into `pixels` (`width` x `height`, stride `width`, 0x00RRGGBB).
void draw_soft_key_bar(uint32_t* pixels, int width, int height);
// Changes whenever what draw_soft_key_bar would draw may have changed.
uint64_t soft_key_bar_version();

// Whether a pointer event belongs to the bar: a press on it while no window is being
// pressed, and everything up to that press's release.
bool soft_key_takes_pointer(const display::Event& e);
// A pointer event that belongs to the bar. Returns true when it made a
// message (a command for the window that owns the bar) in `out`.
bool soft_key_pointer(const display::Event& e, MSG& out);
// F1 / F2 pressed: true with the soft key's command in `out`; false for other keys
// or when there is no enabled key to press.
bool soft_key_press(int vk, MSG& out);

// The window is going: its menu bar goes with it.
void forget_menu_bar(HWND owner);
// A fresh device (tests).

}  // namespace tickvane::device
