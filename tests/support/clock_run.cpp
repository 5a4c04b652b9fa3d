#include "clock_run.h"

namespace tickvane::test {

HWND clock_window() { return FindWindowW(nullptr, u"Tickvane"); }

Until clock_shown()
{
    return until("the clock to show", [] {
        HWND hwnd = clock_window();
        return hwnd != nullptr && IsWindowVisible(hwnd) && !IsIconic(hwnd);
    });
}

void end_clock()
{
    if (HWND hwnd = clock_window())
        SendMessageW(hwnd, WM_DESTROY, 0, 0);
}

ClockRun run_clock(const std::vector<Step>& steps)
{
    ClockRun run;
    ScriptRun script = run_script(steps, end_clock, [&] {
        run.exit_code = WinMain(device::testing::instance(), nullptr, nullptr, SW_SHOWNORMAL);
    });
    run.ended_itself = !script.finished;
    return run;
}

std::string resource_path(const std::string& name) { return std::string(TICKVANE_RESOURCE_DIR) + "/" + name; }

}  // namespace tickvane::test
