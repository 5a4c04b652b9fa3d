// Internal window-manager operations shared by the files of wm/.
#pragma once

#include "wm/input_queue.h"
#include "wm/window_tree.h"

namespace tickvane::device {

LRESULT send(Window& w, UINT msg, WPARAM wParam, LPARAM lParam);
void invalidate_all(Window& w, bool erase);
void resize_window(Window& w, const RECT& rect);
void shift_rect(RECT& r, int dx, int dy);
// A window and everything inside it moved by (dx, dy); nothing is painted again.
void move_with_children(Window& moved, int dx, int dy);
void activate(HWND hwnd, WORD how);  // how: WA_ACTIVE or WA_CLICKACTIVE
void deactivate_for_host();          // the desktop window lost the focus
void reactivate_for_host();          // ... and got it back
void activate_next_after(HWND leaving, bool minimised);
Window* window_at(int screen_x, int screen_y);
bool is_own_window(HWND hwnd);
bool next_message(MSG& out, HWND filter);  // false: nothing is ready now
int ms_to_next_timer();                    // -1: no timer
void move_focus(HWND to);                  // WM_KILLFOCUS / WM_SETFOCUS, no activation
bool enabled_with_ancestors(HWND hwnd);
void raise_with_owned(HWND hwnd);  // to the top of the z-order, its owned windows above it
void close_next_window();          // while the desktop window's close button is at work
// The shell sees taps and keys before the program does (its soft keys), as on Windows
// Mobile; a pointer captured by a window goes to that window first.
void set_input_filter(InputFilter filter);
// DefWindowProcW's WM_GETTEXT, WM_GETTEXTLENGTH and WM_SETTEXT.
LRESULT default_text_message(Window& w, UINT msg, WPARAM wParam, LPARAM lParam);
// Non-client area: the caption and border that WS_CAPTION gives a top-level window.
RECT client_within(DWORD style, const RECT& frame);
RECT frame_around(DWORD style, const RECT& client);
void paint_frame(Window& w);
// A DC on a window's client area that may touch `clip` (client coordinates).
HDC new_window_dc(HWND hwnd, const RECT& clip);  // into the window's surface, active look when it is active
bool in_close_box(const Window& w, int screen_x, int screen_y);

}  // namespace tickvane::device
