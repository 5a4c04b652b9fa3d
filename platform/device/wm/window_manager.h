// Internal window-manager operations shared by the files of wm/.
#pragma once

#include "state.h"

namespace tickvane::device {

LRESULT send(Window& w, UINT msg, WPARAM wParam, LPARAM lParam);
void invalidate_all(Window& w, bool erase);
void resize_window(Window& w, const RECT& rect);
void activate(HWND hwnd, WORD how);  // how: WA_ACTIVE or WA_CLICKACTIVE
void deactivate_for_host();          // the desktop window lost the focus
void reactivate_for_host();          // ... and got it back
void activate_next_after(HWND leaving, bool minimised);
Window* window_at(int screen_x, int screen_y);
bool is_own_window(HWND hwnd);
bool next_message(MSG& out, HWND filter);  // false: nothing is ready now

}  // namespace tickvane::device
