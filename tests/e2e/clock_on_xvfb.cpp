#include "clock_on_xvfb.h"

#include <signal.h>

#include "bounded_process.h"
#include "installed_tree.h"
#include "window_manager.h"

namespace tickvane::e2e {

void ClockOnXvfb::SetUp()
{
    if (std::string(TICKVANE_LIBFAKETIME).empty())
        GTEST_SKIP() << "libfaketime is not installed";
    if (!run_bounded({"xdotool", "version"}, environment_with({}), std::chrono::seconds(5)).finished)
        GTEST_SKIP() << "xdotool is not installed";
    std::string why;
    x_ = display::testing::X11Session::start(24, &why, server_args_);
    if (!x_)
        GTEST_SKIP() << why;
    ASSERT_TRUE(tree_.install(TICKVANE_CMAKE, TICKVANE_BUILD_DIR, &why)) << why;
}

void ClockUnderWindowManager::SetUp()
{
    ClockOnXvfb::SetUp();
    if (IsSkipped() || HasFatalFailure())
        return;
    std::string why;
    wm_ = start_window_manager(x_->name(), &why);
    if (!wm_)
        GTEST_SKIP() << why;
}

void ClockUnderWindowManager::TearDown()
{
    for (pid_t p : processes_of_device(tree_.root()))
        kill(p, SIGKILL);
}

std::string ClockUnderWindowManager::what_the_window_manager_does()
{
    Outcome tree = run_bounded({"xwininfo", "-root", "-children"}, environment_with({"DISPLAY=" + x_->name()}),
                               std::chrono::seconds(5));
    return "openbox " + what_the_process_does(wm_->pid()) + ", said: " + wm_->output() + "\n" + tree.output;
}

}  // namespace tickvane::e2e
