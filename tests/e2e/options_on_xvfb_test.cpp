// The soft keys, the options dialog and the two boxes of the installed clock in a
// real desktop window on a private Xvfb, driven with xdotool: what the window shows
// (captured and probed), the settings file's bytes, and the exit code.
#include <gtest/gtest.h>

#include <fstream>
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

constexpr ShownTime kPinned{2024, 6, 1, 6, 9, 5, 37};
constexpr const char* kPinnedText = "2024-06-01 09:05:37";
constexpr int kScale = 2;
constexpr int kWidth = 240, kHeight = 320;
constexpr uint32_t kDialogFace = 0xF0F0F0;

bool caption_blue(uint32_t c)
{
    int r = (int)(c >> 16 & 0xFF), b = (int)(c & 0xFF);
    return b > 0x80 && b - r > 0x60;
}

// The device's screen pixel at x, y (screen coordinates, before the zoom).
uint32_t at(const std::vector<uint32_t>& s, int x, int y)
{
    size_t i = (size_t)(y * kScale) * (kWidth * kScale) + (size_t)(x * kScale);
    return i < s.size() ? s[i] : 0;  // nothing: a capture that could not be taken
}

class OptionsOnXvfb : public ClockOnXvfb {
protected:
    std::vector<std::string> device_env()
    {
        return environment_with({"DISPLAY=" + x_->name(), "TICKVANE_DEVICE_ROOT=" + tree_.root(),
                                 "TICKVANE_DISPLAY=window", "TICKVANE_SCALE=" + std::to_string(kScale),
                                 "TICKVANE_SCREEN", "TICKVANE_SCREENSHOT", "WAYLAND_DISPLAY", "TZ=UTC",
                                 "LD_PRELOAD=" TICKVANE_LIBFAKETIME, std::string("FAKETIME=") + kPinnedText,
                                 "FAKETIME_DONT_FAKE_MONOTONIC=1"});
    }
    // Starts the clock and waits for its window to show the pinned face.
    unsigned long start()
    {
        clock_.emplace(std::vector<std::string>{tree_.clock_exe()}, device_env());
        std::vector<unsigned long> ids = windows_named(x_->name(), "^Tickvane$", true, seconds(10));
        if (ids.size() != 1) {
            ADD_FAILURE() << "no single Tickvane window: " << clock_->output();
            return 0;
        }
        EXPECT_EQ(face_within(ids[0], seconds(5)), "");
        return ids[0];
    }
    std::vector<uint32_t> shot(unsigned long id) { return x_->capture(id, kWidth * kScale, kHeight * kScale); }
    // Pixels of caption blue between rows `top` and `bottom` of the screen.
    static int blue_in_rows(const std::vector<uint32_t>& s, int top, int bottom)
    {
        int n = 0;
        for (int y = top; y < bottom; ++y)
            for (int x = 0; x < kWidth; ++x)
                n += caption_blue(at(s, x, y));
        return n;
    }
    std::string face_within(unsigned long id, milliseconds limit)
    {
        tickvane::test::Image want = expected_client(kPinned, kWidth, kHeight);
        for (auto until = Clock::now() + limit;; std::this_thread::sleep_for(milliseconds(50))) {
            std::string last = compare_client(want, shot(id), kWidth * kScale, kScale);
            if (last.empty() || Clock::now() > until)
                return last;
        }
    }
    // Waits until `test` holds for a capture of the window.
    template <class Test>
    bool shows_within(unsigned long id, Test test, milliseconds limit = seconds(10))
    {
        for (auto until = Clock::now() + limit; Clock::now() < until; std::this_thread::sleep_for(milliseconds(50)))
            if (test(shot(id)))
                return true;
        return false;
    }
    void click(unsigned long id, int x, int y)
    {
        EXPECT_EQ(xdotool(x_->name(), {"mousemove", "--window", std::to_string(id), std::to_string(x * kScale),
                                       std::to_string(y * kScale), "click", "1"}),
                  "");
    }
    void keys(unsigned long id, const std::vector<std::string>& names)
    {
        for (const std::string& k : names)
            EXPECT_EQ(xdotool(x_->name(), {"key", "--window", std::to_string(id), k}), "");
    }
    std::string settings()
    {
        std::ifstream in(tree_.root() + "/Program Files/Tickvane/TimeConfig.dat", std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    std::string pending()
    {
        Outcome out = run_bounded({tree_.root() + "/Windows/tickvane-device", "pending"}, device_env(), seconds(5));
        EXPECT_TRUE(out.finished && out.exit_code == 0) << out.output;
        return out.output;
    }
    template <class Test>
    bool settles(Test test, milliseconds limit = seconds(10))
    {
        for (auto until = Clock::now() + limit; Clock::now() < until; std::this_thread::sleep_for(milliseconds(50)))
            if (test())
                return true;
        return test();
    }

    std::optional<Child> clock_;
};

// The dialog stands at the work area's corner, below the 26-pixel title bar.
bool dialog_shown(const std::vector<uint32_t>& s)
{
    return caption_blue(at(s, 150, 36)) && at(s, 190, 60) == kDialogFace;
}

TEST_F(OptionsOnXvfb, TheDialogStoresChoicesRefusesZeroAndCloses)
{
    unsigned long id = start();
    ASSERT_NE(id, 0u);
    click(id, 60, kHeight - 13);  // the left soft key
    ASSERT_TRUE(shows_within(id, dialog_shown)) << "the options key opened no dialog";

    keys(id, {"Tab", "Tab", "Down", "Tab", "Down", "Return"});  // minutes "1", seconds "15", Apply
    EXPECT_TRUE(settles([&] { return settings() == "1 1"; })) << "stored: \"" << settings() << "\"";
    EXPECT_TRUE(dialog_shown(shot(id))) << "Apply leaves the dialog open";

    // The box stands in the middle of the screen, partly below the dialog.
    int blue_before = blue_in_rows(shot(id), 100, kHeight - 26);
    keys(id, {"shift+Tab", "Home", "Tab", "Home", "Return"});  // 0 and 0
    EXPECT_TRUE(shows_within(id, [&](const std::vector<uint32_t>& s) {
        return blue_in_rows(s, 100, kHeight - 26) > blue_before + 400;
    })) << "no error box came up";
    keys(id, {"Return"});  // its OK
    EXPECT_EQ(settings(), "1 1") << "zero and zero is not stored";

    keys(id, {"Escape"});  // Close
    EXPECT_EQ(face_within(id, seconds(10)), "") << "the face shows again where the dialog stood";
    EXPECT_FALSE(clock_->wait_exit(milliseconds(0)).has_value()) << "the dialog did not end the clock";
}

TEST_F(OptionsOnXvfb, TheExitKeyAsksAndEndsWithoutANextAppearance)
{
    unsigned long id = start();
    ASSERT_NE(id, 0u);
    std::vector<uint32_t> face = shot(id);
    click(id, 180, kHeight - 13);  // the right soft key
    ASSERT_TRUE(shows_within(id, [&](const std::vector<uint32_t>& s) {
        return blue_in_rows(s, 60, kHeight - 26) > blue_in_rows(face, 60, kHeight - 26) + 400;
    })) << "no confirmation box came up";
    keys(id, {"Escape"});  // Cancel
    EXPECT_EQ(face_within(id, seconds(10)), "") << "cancelled: the clock stays as it was";

    click(id, 180, kHeight - 13);
    ASSERT_TRUE(shows_within(id, [&](const std::vector<uint32_t>& s) {
        return blue_in_rows(s, 60, kHeight - 26) > blue_in_rows(face, 60, kHeight - 26) + 400;
    }));
    // OK: the clock may end while xdotool still talks to its window, so only its exit counts.
    xdotool(x_->name(), {"key", "--window", std::to_string(id), "Return"});
    std::optional<int> code = clock_->wait_exit(seconds(5));
    ASSERT_TRUE(code.has_value()) << "the clock still runs after OK";
    EXPECT_EQ(*code, 0);
    EXPECT_EQ(pending(), "") << "ending by the exit key arranges no next appearance";
}

}  // namespace
