// Drives whatever message loop runs (the clock's, a dialog's, a box's) as a person
// does: each step waits until what it needs is on the screen, then acts. Steps never
// count the loop's idle points, so an unrelated wait in the device changes nothing.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "testing.h"
#include "win32.h"

namespace tickvane::test {

// What a step waits for, named as a failure reports it.
struct Until {
    std::string what;
    std::function<bool()> holds;
};

Until until(std::string what, std::function<bool()> holds);
Until settled();                     // the loop has handled everything the last step gave it
Until after_ms(uint64_t ms);         // `ms` of virtual time since the wait began (one step's own)
Until shown(const char16_t* title);  // a visible window with this title
Until gone(const char16_t* title);   // no window with this title

struct Step {
    Until until;
    std::function<void()> act;
};

struct ScriptRun {
    size_t steps_run = 0;
    bool finished = false;  // the loop still ran after the last step, and `finish` had to end it
};

// Runs `body`, which runs a message loop, and acts at that loop's idle points: every
// step once its condition holds, then `finish` until the loop ends. A condition that
// does not come within a bound (two virtual minutes), or a loop that ends before every
// step ran, fails the test.
ScriptRun run_script(const std::vector<Step>& steps, const std::function<void()>& finish,
                     const std::function<void()>& body);

// Runs the message loop until it has handled everything queued.
using tickvane::device::testing::pump;

}  // namespace tickvane::test
