// The whole cycle as a person sees it: the installed clock in a desktop window on a
// private Xvfb, a click on its face, the clock gone with exit code 0, and the
// device's notification service bringing it back at the registered second.
#include <gtest/gtest.h>

#include <ctime>
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

constexpr int kScale = 2;
constexpr time_t kStory = 1717232737;  // 2024-06-01 09:05:37 UTC, a Saturday

class Reappearance : public ClockOnXvfb {
protected:
    void SetUp() override
    {
        ClockOnXvfb::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        // Every process of the device runs the same faked clock: a fixed offset from
        // the real one, so the service and the clocks it starts agree on the second.
        offset_ = kStory - time(nullptr);
    }

    std::vector<std::string> device_env()
    {
        return environment_with({"DISPLAY=" + x_->name(), "TICKVANE_DEVICE_ROOT=" + tree_.root(),
                                 "TICKVANE_DISPLAY=window", "TICKVANE_SCALE=" + std::to_string(kScale),
                                 "TICKVANE_SCREEN", "TICKVANE_SCREENSHOT", "WAYLAND_DISPLAY", "TZ=UTC",
                                 "LD_PRELOAD=" TICKVANE_LIBFAKETIME,
                                 "FAKETIME=" + std::string(offset_ < 0 ? "" : "+") + std::to_string(offset_),
                                 "FAKETIME_DONT_FAKE_MONOTONIC=1"});
    }
    time_t device_now() const { return time(nullptr) + offset_; }
    std::string service_exe() const { return tree_.root() + "/Windows/tickvane-device"; }

    std::vector<unsigned long> clock_windows(bool wait, milliseconds limit)
    {
        return windows_named(x_->name(), "^Tickvane$", wait, limit);
    }

    // Empty once the window shows the face of the device's current second (or the
    // one before, which a capture may catch); else the last difference seen.
    std::string shows_current_face(unsigned long id, milliseconds limit)
    {
        std::string last;
        for (auto until = Clock::now() + limit;; std::this_thread::sleep_for(milliseconds(50))) {
            time_t now = device_now();
            auto [w, h] = x_->window_size(id);
            last = "the window is " + std::to_string(w) + "x" + std::to_string(h);
            if (w == 240 * kScale && h == 320 * kScale) {
                std::vector<uint32_t> shot = x_->capture(id, w, h);
                for (time_t t : {now, now - 1}) {
                    last = compare_client(expected_client(shown(t), 240, 320), shot, w, kScale);
                    if (last.empty())
                        return last;
                }
            }
            if (Clock::now() > until)
                return last;
        }
    }

    static ShownTime shown(time_t t)
    {
        tm u{};
        gmtime_r(&t, &u);
        return {u.tm_year + 1900, u.tm_mon + 1, u.tm_mday, u.tm_wday, u.tm_hour, u.tm_min, u.tm_sec};
    }

    std::string pending()
    {
        Outcome out = run_bounded({service_exe(), "pending"}, device_env(), seconds(5));
        EXPECT_TRUE(out.finished && out.exit_code == 0) << out.output;
        return out.output;
    }

    time_t offset_ = 0;
};

std::string stamp(time_t t)
{
    tm u{};
    gmtime_r(&t, &u);
    char text[32];
    strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &u);
    return text;
}

}  // namespace

TEST_F(Reappearance, AClickEndsTheClockAndTheServiceBringsItBackAtTheRegisteredSecond)
{
    Child service({service_exe(), "service"}, device_env());
    Child clock({tree_.clock_exe()}, device_env());
    std::vector<unsigned long> ids = clock_windows(true, seconds(10));
    ASSERT_EQ(ids.size(), 1u) << clock.output();
    ASSERT_EQ(shows_current_face(ids[0], seconds(5)), "");

    time_t clicked = device_now();
    Outcome click = run_bounded({"xdotool", "mousemove", "--window", std::to_string(ids[0]), "200", "300", "click",
                                 "1"},
                                environment_with({"DISPLAY=" + x_->name()}), seconds(5));
    ASSERT_TRUE(click.finished && click.exit_code == 0) << click.output;
    std::optional<int> code = clock.wait_exit(seconds(5));
    ASSERT_TRUE(code.has_value()) << "the clock still runs 5 s after the click";
    EXPECT_EQ(*code, 0) << clock.output();

    // No settings file: 15 s from the second of the click.
    std::string listed = pending();
    std::string due_text = listed.substr(0, 19);
    EXPECT_TRUE(due_text == stamp(clicked + 15) || due_text == stamp(clicked + 16)) << listed;
    EXPECT_NE(listed.find("\t\\Program Files\\Tickvane\\zubo.exe\t"), std::string::npos) << listed;
    time_t due = due_text == stamp(clicked + 16) ? clicked + 16 : clicked + 15;

    std::vector<unsigned long> again = clock_windows(true, seconds(25));
    time_t appeared = device_now();
    ASSERT_EQ(again.size(), 1u) << "the clock did not come back; service said: " << service.output();
    EXPECT_GE(appeared, due) << "it came back before its time";
    EXPECT_LE(appeared, due + 1) << "it came back " << appeared - due << " s late";
    EXPECT_EQ(shows_current_face(again[0], seconds(5)), "");
    EXPECT_EQ(pending(), "") << "a started registration is removed";
}
