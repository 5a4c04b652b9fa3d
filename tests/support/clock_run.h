// Runs the clock in-process on a fresh headless device and lets a test act each
// time its message loop goes idle.
#pragma once

#include <functional>
#include <string>

#include "testing.h"
#include "win32.h"

namespace tickvane::test {

struct ClockRun {
    int exit_code = -1;
    int idles = 0;
};

// Starts WinMain; `step` gets the number of the idle point (0 = the first, after
// the window has been shown and painted) and the clock's window. The run ends when
// the clock ends; after `max_idles` idle points the test's own failure ends it.
ClockRun run_clock(const std::function<void(int idle, HWND clock)>& step, int max_idles = 50);

HWND clock_window();  // the window titled "Tickvane", or null
// Ends the clock as its own dismissal would: WM_DESTROY sent to the window.
void end_clock();

std::string resource_path(const std::string& name);  // a file in resources/

}  // namespace tickvane::test
