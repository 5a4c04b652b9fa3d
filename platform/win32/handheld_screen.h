// The handheld's screen on the desktop: one per process, 240 x 320 until the program
// window that plays it (the window holding the soft-key bar) is sized otherwise.
#pragma once

#include "win32.h"

#include <optional>
#include <string>

namespace tickvane::win32 {

constexpr SIZE kDefaultScreen = {240, 320};
// The smallest screen a Windows Mobile 6 Professional handheld has (the square ones).
constexpr SIZE kSmallestScreen = {240, 240};

SIZE handheld_screen();
void set_handheld_screen(SIZE size);

// The window that plays the handheld, once there is one, and the whole number of device
// pixels it shows each of the screen's pixels with: 1 on a 96 dpi monitor, 2 at 150 % to 200 %.
// The screen keeps its size on a denser monitor and stays crisp, as on the Linux desktop.
HWND handheld_window();
int handheld_zoom();
void set_handheld_window(HWND hwnd, int zoom);
// The zoom for a monitor's density, and for the monitor `hwnd` is on.
int zoom_for_dpi(UINT dpi);
int zoom_for(HWND hwnd);

// The screen's size and the window's centre on the desktop, as the last appearance left them.
struct HandheldPlace {
    SIZE screen;
    POINT centre;
};
std::wstring handheld_place_file();  // empty when the user has no local application data
std::optional<HandheldPlace> load_handheld_place();
void save_handheld_place(const HandheldPlace& place);

// Makes `hwnd` play the screen: a resizable frame around a client area of the screen's
// size, where the last appearance left it, or else in the middle of its monitor's work area.
void play_handheld_screen(HWND hwnd);
// The window's own share of its messages: following its size, the minimum size and the
// rotate key (F5), keeping its place for the next appearance. True when the message was handled, with its result in `result`.
bool handheld_window_message(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

}  // namespace tickvane::win32
