// What tests may do to the device beyond the Win32 names: a fresh headless device
// per test, a pinned clock, virtual time, input as a person gives it, and the
// screen as a person sees it. Built as its own library (tickvane_device_testing),
// which tests link and the device's programs do not.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "win32.h"

namespace tickvane::device::testing {

struct Options {
    int width = 240;
    int height = 320;
    std::string root;  // device root; empty: a fresh temporary folder
    SYSTEMTIME local_time{2026, 12, 1, 7, 9, 5, 30, 0};
    bool start_service = false;  // whether a registration may start the resident service
    std::string image;           // read-only installed files under the root; empty: none
};

// Drops every window (each hears WM_NCDESTROY first, nothing more), class, timer, GDI
// object and queued message, and starts a headless device whose timers run on virtual
// time.
void reset(const Options& options = {});
const std::string& root();

void set_local_time(const SYSTEMTIME& t);
// Timers, Sleep and GetTickCount follow the real clock until the next reset; the
// local time stays pinned.
void use_real_clock();
// Called whenever the message loop has nothing to do; when it does nothing itself,
// virtual time jumps to the next timer.
void on_idle(std::function<void()> hook);
uint64_t virtual_now();

HINSTANCE instance();

// Runs the message loop until it has nothing left to do (the first idle point).
// A WM_QUIT met on the way is posted again for the caller's loop.
void pump();
// Runs it until `done` holds at an idle point, letting virtual time jump to the next
// timer in between; false when `max_idles` idle points passed without it.
bool pump_until(const std::function<bool()>& done, int max_idles = 100);

// Input, queued as the desktop window would queue it. Screen coordinates.
void pointer_down(int x, int y);
void pointer_move(int x, int y);
void pointer_up(int x, int y);
void tap(int x, int y);  // down and up at one point
void key_down(int vk, bool shift = false, bool alt = false);
void key_up(int vk, bool shift = false, bool alt = false);
void press_key(int vk, bool shift = false, bool alt = false);  // down and up
void switch_away();
void switch_back();
void rotate();
void close_display();  // the desktop window's close button

// The soft keys of the bar as a person sees it: 0 left, 1 right. The label is empty
// and the rectangle (screen coordinates) still valid when the key shows nothing.
RECT soft_key_rect(int index);
std::u16string soft_key_label(int index);
bool soft_key_enabled(int index);
// While set, SHCreateMenuBar fails as when the shell has no room for a bar. Reset clears it.
void refuse_menu_bars(bool refuse);

// The topmost visible top-level window of this process (a dialog, a box, a dropped list).
HWND top_window();

// The screen as presented: composes first.
uint32_t screen_pixel(int x, int y);    // 0x00RRGGBB
std::vector<uint32_t> screen_pixels();  // every pixel, rows top first, screen_width() a row
int screen_width();
int screen_height();
RECT work_area();

// Notifications: `hook` sees every request that passes the argument checks, before
// it is stored, and refuses it by returning false. Reset drops it.
void on_registration(std::function<bool(const SYSTEMTIME& start)> hook);
struct Pending {
    std::string due;  // local time, "YYYY-MM-DD HH:MM:SS"
    std::string application;
    std::string arguments;
};
// The registrations stored under the current root, earliest first.
std::vector<Pending> pending();

// Live GDI objects (stock objects excluded), to catch leaks.
size_t gdi_object_count();

}  // namespace tickvane::device::testing
