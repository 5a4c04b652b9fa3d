// scripts/run-clock as a person uses it on a desktop with a window manager: started
// twice, stopped (dropping what its cycle has pending), and ending by itself once the
// clock's exit key has ended the cycle.
#include <gtest/gtest.h>
#include <signal.h>

#include <algorithm>
#include <deque>
#include <thread>

#include "bounded_process.h"
#include "clock_on_xvfb.h"
#include "xdotool.h"

using namespace tickvane::e2e;
using Clock = std::chrono::steady_clock;
using std::chrono::seconds;

namespace {

class RunCommand : public ClockUnderWindowManager {
protected:
    void SetUp() override
    {
        if (std::string(TICKVANE_BUILD_DIR) != std::string(TICKVANE_SOURCE_DIR) + "/build")
            GTEST_SKIP() << "the run command builds into build/, not this test's " << TICKVANE_BUILD_DIR;
        ClockUnderWindowManager::SetUp();
    }

    Child& run_clock()
    {
        return commands_.emplace_back(std::vector<std::string>{TICKVANE_SOURCE_DIR "/scripts/run-clock"},
                                      environment_with({"DISPLAY=" + x_->name(), "TICKVANE_DEVICE_ROOT=" + tree_.root(),
                                                        "TICKVANE_DISPLAY=window", "TICKVANE_SCALE=2",
                                                        "TICKVANE_SCREEN", "WAYLAND_DISPLAY"}));
    }
    std::vector<unsigned long> clock_windows(bool wait = false, milliseconds limit = seconds(60))
    {
        return windows_named(x_->name(), "^Tickvane$", wait, limit);
    }
    std::string pending()
    {
        return run_bounded({tree_.root() + "/Windows/tickvane-device", "--root", tree_.root(), "pending"},
                           environment_with({}), seconds(5))
            .output;
    }
    void click(unsigned long id, int x, int y)
    {
        EXPECT_EQ(xdotool(x_->name(), {"mousemove", "--window", std::to_string(id), std::to_string(x),
                                       std::to_string(y), "click", "1"}),
                  "");
    }
    bool no_clock_within(milliseconds limit)
    {
        for (auto until = Clock::now() + limit; !clock_windows().empty();
             std::this_thread::sleep_for(milliseconds(100)))
            if (Clock::now() > until)
                return false;
        return true;
    }

    // Whether the window shows at least `count` pixels of `colour` within `limit`: the
    // clock's face is white, a message box is drawn in the dialog face colour, which the
    // face never has.
    bool shows_within(unsigned long id, uint32_t colour, long count, milliseconds limit)
    {
        for (auto until = Clock::now() + limit; Clock::now() < until; std::this_thread::sleep_for(milliseconds(50))) {
            std::vector<uint32_t> shot = x_->capture(id, 480, 640);
            if (std::count(shot.begin(), shot.end(), colour) > count)
                return true;
        }
        return false;
    }

    std::deque<Child> commands_;
};

TEST_F(RunCommand, ASecondRunLeavesTheFirstsCycleAloneAndStoppingOneEndsOnlyWhatItStarted)
{
    Child& first = run_clock();
    std::vector<unsigned long> ids = clock_windows(true);
    ASSERT_EQ(ids.size(), 1u) << first.output();

    // While the clock is shown: brought forward, nothing else.
    Child& second = run_clock();
    std::optional<int> code = second.wait_exit(seconds(60));
    ASSERT_TRUE(code.has_value()) << "the second run command still runs: " << second.output();
    EXPECT_EQ(*code, 0);
    EXPECT_NE(second.output().find("brought it forward"), std::string::npos) << second.output();
    EXPECT_EQ(clock_windows(), ids) << "the first command's clock went or another came";

    // While the clock is away: its next appearance stays as it was.
    click(ids[0], 200, 300);
    ASSERT_TRUE(no_clock_within(seconds(5)));
    std::string due = pending();
    ASSERT_NE(due, "");
    Child& third = run_clock();
    code = third.wait_exit(seconds(60));
    ASSERT_TRUE(code.has_value()) << third.output();
    EXPECT_EQ(*code, 0);
    EXPECT_NE(third.output().find("comes back at " + due.substr(0, 19)), std::string::npos) << third.output();
    EXPECT_EQ(pending(), due);
    EXPECT_TRUE(clock_windows().empty()) << "a run command started a clock of its own";
    EXPECT_FALSE(first.wait_exit(milliseconds(0)).has_value()) << first.output();

    // A clock someone started by hand is not the first command's to end.
    Child by_hand({tree_.clock_exe()},
                  environment_with({"DISPLAY=" + x_->name(), "TICKVANE_DEVICE_ROOT=" + tree_.root(),
                                    "TICKVANE_DISPLAY=window", "TICKVANE_RUN_TAG"}));
    ASSERT_EQ(clock_windows(true, seconds(10)).size(), 1u) << by_hand.output();
    first.signal(SIGINT);
    code = first.wait_exit(seconds(10));
    ASSERT_TRUE(code.has_value()) << "the run command outlived Ctrl-C";
    auto status = run_bounded({tree_.root() + "/Windows/tickvane-device", "--root", tree_.root(), "status"},
                              environment_with({}), seconds(5));
    EXPECT_EQ(status.exit_code, 3) << "its service still runs: " << status.output;
    EXPECT_NE(first.output().find("dropped the appearance registered for " + due.substr(0, 19) + "\n"),
              std::string::npos)
        << first.output();
    EXPECT_EQ(pending(), "") << "Ctrl-C left its cycle's appearance pending";
    EXPECT_FALSE(by_hand.wait_exit(milliseconds(500)).has_value()) << "the clock started by hand was ended";
}

TEST_F(RunCommand, EndsWhenTheExitKeyHasEndedTheCycle)
{
    Child& command = run_clock();
    std::vector<unsigned long> ids = clock_windows(true);
    ASSERT_EQ(ids.size(), 1u) << command.output();
    // Keys go to a clock that is up: its face is painted.
    ASSERT_TRUE(shows_within(ids[0], 0xFFFFFFu, 100000, seconds(10)))
        << "no face; " << what_the_device_does(tree_.root()) << "\nthe window, " << x_->window_size(ids[0]).first
        << " x " << x_->window_size(ids[0]).second << ", as xprop has it:\n"
        << x_->properties(ids[0]) << "\n"
        << what_the_window_manager_does() << "\nthe command said: " << command.output();
    EXPECT_EQ(xdotool(x_->name(), {"key", "--window", std::to_string(ids[0]), "F2"}), "");  // the exit soft key
    ASSERT_TRUE(shows_within(ids[0], 0xF0F0F0u, 1000, seconds(10))) << "no confirmation box: " << command.output();
    ASSERT_EQ(clock_windows(), ids) << command.output();
    // OK ends the clock on the key press: the release may find the window gone.
    xdotool(x_->name(), {"key", "--window", std::to_string(ids[0]), "Return"});
    std::optional<int> code = command.wait_exit(seconds(10));
    ASSERT_TRUE(code.has_value()) << "the run command still waits: " << command.output();
    EXPECT_EQ(*code, 0);
    EXPECT_NE(command.output().find("nothing is pending"), std::string::npos) << command.output();
    EXPECT_EQ(pending(), "");
}

}  // namespace
