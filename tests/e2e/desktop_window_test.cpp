// The installed clock's desktop window as the desktop sees it, under a window manager:
// what it says about itself, the zoom it picks, and the orientation and place it
// comes back with.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <deque>
#include <fstream>
#include <sstream>
#include <thread>

#include "bounded_process.h"
#include "clock_on_xvfb.h"
#include "xdotool.h"

using namespace tickvane::e2e;
using std::chrono::seconds;

namespace {

class WindowOnTheDesktop : public ClockUnderWindowManager {
protected:
    Child& start_clock(const std::string& scale = "TICKVANE_SCALE", const std::string& screen = "TICKVANE_SCREEN")
    {
        return clocks_.emplace_back(std::vector<std::string>{tree_.clock_exe()},
                                    environment_with({"DISPLAY=" + x_->name(), "TICKVANE_DEVICE_ROOT=" + tree_.root(),
                                                      "TICKVANE_DISPLAY=window", scale, screen}));
    }
    unsigned long clock_window()
    {
        std::vector<unsigned long> ids = windows_named(x_->name(), "^Tickvane$", true, seconds(10));
        return ids.size() == 1 ? ids[0] : 0;
    }
    std::string run(const std::vector<std::string>& argv)
    {
        return run_bounded(argv, environment_with({"DISPLAY=" + x_->name()}), seconds(10)).output;
    }
    // The client area's top-left on the screen, as xwininfo gives it.
    std::pair<int, int> where(unsigned long id)
    {
        std::istringstream info(run({"xwininfo", "-id", std::to_string(id)}));
        int x = -1, y = -1;
        for (std::string line; std::getline(info, line);) {
            std::sscanf(line.c_str(), " Absolute upper-left X: %d", &x);
            std::sscanf(line.c_str(), " Absolute upper-left Y: %d", &y);
        }
        return {x, y};
    }
    // Moves the window as a person drags it; asked again while the window manager has not
    // taken the window yet. Where its client area then is, or (-1, -1).
    std::pair<int, int> move(unsigned long id, int x, int y)
    {
        for (int i = 0; i < 200; ++i) {
            if (i % 10 == 0) {
                EXPECT_EQ(xdotool(x_->name(), {"windowmove", std::to_string(id), std::to_string(x), std::to_string(y)}),
                          "");
            }
            std::this_thread::sleep_for(milliseconds(50));
            std::pair<int, int> at = where(id);
            if (at.first >= x && at.second >= y)
                return at;
        }
        return {-1, -1};
    }
    bool has_size(unsigned long id, int width, int height)
    {
        for (int i = 0; i < 200; ++i, std::this_thread::sleep_for(milliseconds(50)))
            if (x_->window_size(id) == std::make_pair(width, height))
                return true;
        return false;
    }

    std::deque<Child> clocks_;
};

// The images of resources/zubo.ico that a taskbar should get, as ImageMagick reads them:
// the 16-colour ones, 16 then 32 pixels, transparent where the mask says so.
std::vector<unsigned long> icon_from_resource_file()
{
    std::vector<unsigned long> want;
    for (auto [index, size] : {std::pair{1, 16}, std::pair{0, 32}}) {
        std::string command = "convert '" TICKVANE_RESOURCE_DIR "/zubo.ico[" + std::to_string(index) +
                              "]' -depth 8 rgba:-";
        FILE* out = popen(command.c_str(), "r");
        std::vector<unsigned char> rgba(static_cast<size_t>(size * size * 4));
        size_t got = out ? std::fread(rgba.data(), 1, rgba.size(), out) : 0;
        if (out)
            pclose(out);
        if (got != rgba.size())
            return {};
        want.insert(want.end(), {static_cast<unsigned long>(size), static_cast<unsigned long>(size)});
        for (size_t i = 0; i < rgba.size(); i += 4)
            want.push_back(rgba[i + 3] == 0 ? 0ul : 0xFF000000ul | rgba[i] << 16 | rgba[i + 1] << 8 | rgba[i + 2]);
    }
    return want;
}

TEST_F(WindowOnTheDesktop, NamesItsProcessItsMachineAndTheProgramsOwnIcon)
{
    Child& clock = start_clock();
    unsigned long id = clock_window();
    ASSERT_NE(id, 0u) << clock.output();
    std::string props = x_->properties(id);
    EXPECT_NE(props.find("_NET_WM_PID(CARDINAL) = " + std::to_string(clock.pid()) + "\n"), std::string::npos) << props;
    char host[256] = {};
    gethostname(host, sizeof host - 1);
    EXPECT_NE(props.find("WM_CLIENT_MACHINE(STRING) = \"" + std::string(host) + "\""), std::string::npos) << props;

    std::vector<unsigned long> want = icon_from_resource_file();
    ASSERT_FALSE(want.empty()) << "ImageMagick could not read the icon file";
    std::istringstream shown(run({"xprop", "-id", std::to_string(id), "-notype", "32c", "_NET_WM_ICON"}));
    std::string name, equals;
    shown >> name >> equals;
    std::vector<unsigned long> got;
    for (std::string word; std::getline(shown, word, ',');)
        got.push_back(std::stoul(word));
    EXPECT_EQ(got, want) << "got " << got.size() << " cardinals, want " << want.size();
}

TEST_F(WindowOnTheDesktop, FollowsTheDesktopsDpiAndCutsAZoomThatDoesNotFitWithAWarning)
{
    // Xvfb's 1024x768 monitor: 320 pixels twice is 640, three times no longer fits.
    const struct {
        std::string scale, screen, dpi;  // dpi: the desktop's Xft.dpi setting, none when empty
        int width, height;
        bool warns;
    } cases[] = {
        {"TICKVANE_SCALE", "TICKVANE_SCREEN", "", 480, 640, false},
        {"TICKVANE_SCALE=1", "TICKVANE_SCREEN", "", 240, 320, false},
        {"TICKVANE_SCALE=4", "TICKVANE_SCREEN", "", 480, 640, true},
        {"TICKVANE_SCALE=3", "TICKVANE_SCREEN", "", 480, 640, true},
        {"TICKVANE_SCALE", "TICKVANE_SCREEN", "192", 480, 640, false},  // HiDPI, but 4 does not fit
        {"TICKVANE_SCALE", "TICKVANE_SCREEN=100x100", "192", 400, 400, false},
        {"TICKVANE_SCALE", "TICKVANE_SCREEN=100x100", "144", 300, 300, false},
    };
    for (const auto& c : cases) {
        if (c.dpi.empty())
            run({"xprop", "-root", "-remove", "RESOURCE_MANAGER"});
        else
            run({"xprop", "-root", "-format", "RESOURCE_MANAGER", "8s", "-set", "RESOURCE_MANAGER",
                 "Xft.antialias:\t1\nXft.dpi:\t" + c.dpi + "\n"});
        Child& clock = start_clock(c.scale, c.screen);
        std::string row = c.scale + " " + c.screen + " dpi " + c.dpi;
        unsigned long id = clock_window();
        ASSERT_NE(id, 0u) << row << ": " << clock.output();
        EXPECT_TRUE(has_size(id, c.width, c.height)) << row;
        std::string said = clock.output();
        EXPECT_EQ(said.find("does not fit the 1024x768 work area; using 2\n") != std::string::npos, c.warns)
            << row << ": " << said;
        clock.signal(SIGKILL);
        clock.wait_exit(seconds(5));
        for (int i = 0; i < 200 && !windows_named(x_->name(), "^Tickvane$", false, seconds(1)).empty(); ++i)
            std::this_thread::sleep_for(milliseconds(50));
    }
}

TEST_F(WindowOnTheDesktop, ARelaunchedClockComesBackInTheKeptOrientationAtTheKeptPlace)
{
    Child& first = start_clock();
    unsigned long id = clock_window();
    ASSERT_NE(id, 0u) << first.output();
    EXPECT_EQ(xdotool(x_->name(), {"key", "--window", std::to_string(id), "F5"}), "");
    ASSERT_TRUE(has_size(id, 640, 480)) << "F5 did not turn the screen; " << what_the_device_does(tree_.root()) << "\n"
                                        << what_the_window_manager_does();
    std::pair<int, int> moved = move(id, 300, 40);
    ASSERT_GE(moved.first, 300) << "the window manager did not move it";
    // Killed, as a stopped run command ends its clocks: the device kept both as they changed.
    first.signal(SIGTERM);
    ASSERT_TRUE(first.wait_exit(seconds(5)).has_value()) << "the clock outlived SIGTERM";

    Child& again = start_clock();
    id = clock_window();
    ASSERT_NE(id, 0u) << again.output();
    EXPECT_TRUE(has_size(id, 640, 480)) << "it came back in portrait";
    EXPECT_EQ(where(id), moved);
}

// The desktop the window manager's minimise animation was seen on, with a place lower
// than a zoom of 3 leaves room for.
class WindowOnALargeDesktop : public WindowOnTheDesktop {
    void SetUp() override
    {
        server_args_ = {"-screen", "0", "1600x1200x24"};
        WindowOnTheDesktop::SetUp();
    }
};

TEST_F(WindowOnALargeDesktop, MinimisingKeepsThePlaceBeforeItAndAKeptPlaceIsBroughtOnScreen)
{
    Child& first = start_clock();
    unsigned long id = clock_window();
    ASSERT_NE(id, 0u) << first.output();
    std::pair<int, int> moved = move(id, 100, 350);
    ASSERT_GE(moved.second, 350) << "the window manager did not move it";
    EXPECT_EQ(xdotool(x_->name(), {"windowminimize", std::to_string(id)}), "");
    ASSERT_TRUE(first.wait_exit(seconds(10)).has_value()) << "minimising did not dismiss the clock";

    Child& again = start_clock();
    id = clock_window();
    ASSERT_NE(id, 0u) << again.output();
    EXPECT_EQ(where(id), moved) << "it kept a frame of the minimise animation";
    again.signal(SIGTERM);
    ASSERT_TRUE(again.wait_exit(seconds(10)).has_value());

    // Three times as large, the kept place would put a third of the screen below the desktop.
    Child& larger = start_clock("TICKVANE_SCALE=3");
    id = clock_window();
    ASSERT_NE(id, 0u) << larger.output();
    ASSERT_TRUE(has_size(id, 720, 960));
    std::pair<int, int> at = where(id);
    EXPECT_EQ(at.first, moved.first);
    std::ifstream kept(tree_.root() + "/.device/state");
    EXPECT_LE(at.second + 960, 1200) << "the screen's bottom is off the desktop at " << at.second << "; kept:\n"
                                     << std::string(std::istreambuf_iterator<char>(kept), {}) << "the clock said "
                                     << larger.output() << "\n"
                                     << what_the_window_manager_does();
    EXPECT_GE(at.second, 0);
}

}  // namespace
