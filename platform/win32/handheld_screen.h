// The handheld's screen on the desktop: one per process, 240 x 320 until the program
// window that plays it (the window holding the soft-key bar) is sized otherwise.
#pragma once

#include "win32.h"

namespace tickvane::win32 {

constexpr SIZE kDefaultScreen = {240, 320};
// The smallest screen a Windows Mobile 6 Professional handheld has (the square ones).
constexpr SIZE kSmallestScreen = {240, 240};

SIZE handheld_screen();
void set_handheld_screen(SIZE size);

// Makes `hwnd` play the screen: a resizable frame around a client area of the screen's
// size, in the middle of its monitor's work area.
void play_handheld_screen(HWND hwnd);
// The window's own share of its messages: following its size, the minimum size and the
// rotate key (F5). True when the message was handled, with its result in `result`.
bool handheld_window_message(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

}  // namespace tickvane::win32
