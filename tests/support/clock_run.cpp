#include "clock_run.h"

#include <gtest/gtest.h>

namespace tickvane::test {

HWND clock_window() { return FindWindowW(nullptr, u"Tickvane"); }

void end_clock()
{
    if (HWND hwnd = clock_window())
        SendMessageW(hwnd, WM_DESTROY, 0, 0);
}

ClockRun run_clock(const std::function<void(int idle, HWND clock)>& step, int max_idles)
{
    ClockRun run;
    device::testing::on_idle([&] {
        int idle = run.idles++;
        if (idle >= max_idles) {
            ADD_FAILURE() << "the clock was still running after " << max_idles << " idle points";
            end_clock();
            return;
        }
        step(idle, clock_window());
    });
    run.exit_code = WinMain(device::testing::instance(), nullptr, nullptr, SW_SHOWNORMAL);
    device::testing::on_idle(nullptr);
    return run;
}

std::string resource_path(const std::string& name) { return std::string(TICKVANE_RESOURCE_DIR) + "/" + name; }

}  // namespace tickvane::test
