#include <gtest/gtest.h>
#include <signal.h>

#include <deque>
#include <sstream>
#include <thread>

#include "bounded_process.h"
#include "clock_on_xvfb.h"
#include "window_face.h"
#include "x11_session.h"
#include "xdotool.h"

using namespace tickvane::e2e;
using tickvane::display::testing::X11Session;
using Clock = std::chrono::steady_clock;
using std::chrono::seconds;

namespace {

constexpr ShownTime kPinned{2024, 6, 1, 6, 9, 5, 37};  // a Saturday; frozen, seconds included
constexpr const char* kPinnedText = "2024-06-01 09:05:37";
constexpr int kScale = 2;

class InstalledClockOnXvfb : public ClockOnXvfb {
protected:
    std::vector<std::string> x_env() { return environment_with({"DISPLAY=" + x_->name()}); }

    Child& start_clock()
    {
        std::vector<std::string> env = environment_with(
            {"DISPLAY=" + x_->name(), "TICKVANE_DEVICE_ROOT=" + tree_.root(), "TICKVANE_DISPLAY=window",
             "TICKVANE_SCALE=" + std::to_string(kScale), "TICKVANE_SCREEN", "TICKVANE_SCREENSHOT", "WAYLAND_DISPLAY",
             "TZ=UTC", "LD_PRELOAD=" TICKVANE_LIBFAKETIME, std::string("FAKETIME=") + kPinnedText,
             "FAKETIME_DONT_FAKE_MONOTONIC=1"});  // timers keep running on the real monotonic clock
        return clocks_.emplace_back(std::vector<std::string>{tree_.clock_exe()}, env);
    }

    // Every window titled "Tickvane"; with `wait`, waits up to `limit` for one to appear.
    std::vector<unsigned long> clock_windows(bool wait = false, milliseconds limit = seconds(10))
    {
        return windows_named(x_->name(), "^Tickvane$", wait, limit);
    }

    bool no_window_within(milliseconds limit)
    {
        for (auto until = Clock::now() + limit; !clock_windows().empty(); std::this_thread::sleep_for(milliseconds(50)))
            if (Clock::now() > until)
                return false;
        return true;
    }

    // Empty once the window shows the pinned face in that orientation, else the last
    // difference seen within `limit`.
    std::string face_within(unsigned long id, bool landscape, milliseconds limit)
    {
        int width = landscape ? 320 : 240, height = landscape ? 240 : 320;
        tickvane::test::Image want = expected_client(kPinned, width, height);
        for (auto until = Clock::now() + limit;; std::this_thread::sleep_for(milliseconds(50))) {
            auto [w, h] = x_->window_size(id);
            std::string last = "the window is " + std::to_string(w) + "x" + std::to_string(h);
            if (w == width * kScale && h == height * kScale)
                last = compare_client(want, x_->capture(id, w, h), w, kScale);
            if (last.empty() || Clock::now() > until)
                return last;
        }
    }

    void press(unsigned long id, const std::string& key)
    {
        EXPECT_EQ(xdotool(x_->name(), {"key", "--window", std::to_string(id), key}), "");
    }

    std::deque<Child> clocks_;  // killed first, before Xvfb goes
};

TEST_F(InstalledClockOnXvfb, ShowsTheDateBadgeAndZeroPaddedTimeFromTheGlyphSheets)
{
    Child& clock = start_clock();
    std::vector<unsigned long> ids = clock_windows(true);
    ASSERT_EQ(ids.size(), 1u) << "no single Tickvane window; the clock said: " << clock.output();
    EXPECT_EQ(face_within(ids[0], false, seconds(5)), "");

    // Saturday's badge is blue, whatever the sheets hold elsewhere.
    int width = 240 * kScale;
    std::vector<uint32_t> shot = x_->capture(ids[0], width, 320 * kScale);
    ASSERT_EQ(shot.size(), static_cast<size_t>(width * 320 * kScale)) << "the window could not be read";
    int blue = 0;
    for (int y = (40 + kTitleBarHeight) * kScale; y < (71 + kTitleBarHeight) * kScale; ++y)
        for (int x = 90 * kScale; x < 105 * kScale; ++x)
            blue += shot[static_cast<size_t>(y * width + x)] == 0x4060C0;
    EXPECT_GT(blue, 20);
}

TEST_F(InstalledClockOnXvfb, F5TurnsTheFaceToLandscapeAndBackAtTheNextTick)
{
    Child& clock = start_clock();
    std::vector<unsigned long> ids = clock_windows(true);
    ASSERT_EQ(ids.size(), 1u) << clock.output();
    ASSERT_EQ(face_within(ids[0], false, seconds(5)), "");

    press(ids[0], "F5");
    EXPECT_EQ(face_within(ids[0], true, seconds(10)), "");
    press(ids[0], "F5");
    EXPECT_EQ(face_within(ids[0], false, seconds(10)), "");
}

TEST_F(InstalledClockOnXvfb, ASecondStartBringsTheFirstForwardAndEndsAtOnce)
{
    Child& first = start_clock();
    std::vector<unsigned long> ids = clock_windows(true);
    ASSERT_EQ(ids.size(), 1u) << first.output();
    ASSERT_EQ(face_within(ids[0], false, seconds(5)), "");
    x_->cover(ids[0]);
    ASSERT_NE(face_within(ids[0], false, milliseconds(0)), "") << "another window should hide the face";

    Child& second = start_clock();
    std::optional<int> code = second.wait_exit(seconds(20));
    ASSERT_TRUE(code.has_value()) << "the second start still runs after 20 s";
    EXPECT_EQ(*code, 0) << second.output();
    EXPECT_EQ(clock_windows(), ids);
    EXPECT_EQ(face_within(ids[0], false, seconds(10)), "") << "the first clock was not brought forward";
    EXPECT_FALSE(first.wait_exit(milliseconds(0)).has_value()) << "the first clock ended";
}

TEST_F(InstalledClockOnXvfb, EndingTheClockLeavesNoWindowAndNoProcess)
{
    Child& clock = start_clock();
    ASSERT_EQ(clock_windows(true).size(), 1u) << clock.output();
    ASSERT_FALSE(processes_of_device(tree_.root()).empty()) << "the scan does not see the running clock";

    clock.signal(SIGTERM);
    ASSERT_TRUE(clock.wait_exit(seconds(5)).has_value()) << "the clock outlived SIGTERM by 5 s";
    EXPECT_TRUE(no_window_within(seconds(10)));
    std::vector<pid_t> strays = processes_of_device(tree_.root());
    for (auto until = Clock::now() + seconds(10); !strays.empty() && Clock::now() < until;) {
        std::this_thread::sleep_for(milliseconds(100));
        strays = processes_of_device(tree_.root());
    }
    EXPECT_TRUE(strays.empty()) << strays.size() << " process(es) of the device remain, the first is " << strays[0];
}

// A crash leaves the window's device-wide entry behind; it must not pass for a running
// clock, neither once the dead process is reaped nor while it is still a zombie.
TEST_F(InstalledClockOnXvfb, AKilledClockDoesNotStopTheNextStart)
{
    Child& reaped = start_clock();
    ASSERT_EQ(clock_windows(true).size(), 1u) << reaped.output();
    reaped.signal(SIGKILL);
    ASSERT_TRUE(reaped.wait_exit(seconds(5)).has_value());
    ASSERT_TRUE(no_window_within(seconds(10)));

    Child& zombie = start_clock();
    ASSERT_EQ(clock_windows(true).size(), 1u) << "no window after a reaped crash: " << zombie.output();
    zombie.signal(SIGKILL);  // and not reaped: its /proc entry stays until the test lets go
    ASSERT_TRUE(no_window_within(seconds(10)));

    Child& next = start_clock();
    EXPECT_EQ(clock_windows(true, seconds(5)).size(), 1u) << "no window while the killed clock is a zombie";
    std::optional<int> ended = next.wait_exit(milliseconds(0));
    EXPECT_FALSE(ended.has_value()) << "the new start ended at once with " << ended.value_or(-1);
}

}  // namespace
