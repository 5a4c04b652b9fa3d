// Runs the clock in-process on a fresh headless device, acting as a person does
// whenever what a step waits for is on the screen.
#pragma once

#include <string>
#include <vector>

#include "loop_script.h"
#include "testing.h"
#include "win32.h"

namespace tickvane::test {

struct ClockRun {
    int exit_code = -1;
    bool ended_itself = false;  // after the last step the clock ended without the test ending it
};

// Starts WinMain and runs `steps` at the idle points of its loops (the dialogs' and
// the boxes' too); once they have run, the clock is ended as its own dismissal would.
ClockRun run_clock(const std::vector<Step>& steps);

HWND clock_window();  // the window titled "Tickvane", or null
Until clock_shown();  // the clock's window is on the screen, neither hidden nor minimised
// Ends the clock as its own dismissal would: WM_DESTROY sent to the window.
void end_clock();

std::string resource_path(const std::string& name);  // a file in resources/

}  // namespace tickvane::test
