#include "clock_under_wine.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "device_face.h"
#include "png_file.h"
#include "xdotool.h"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using std::chrono::seconds;
using tickvane::display::testing::X11Session;

namespace tickvane::wine {
namespace {

constexpr const char* kClockPath = "C:\\Program Files\\Tickvane\\zubo.exe";

// Polls `test` until it holds, at most `limit` long; false if it never did.
template <class Test>
bool within(milliseconds limit, Test test)
{
    for (auto until = Clock::now() + limit;; std::this_thread::sleep_for(milliseconds(100))) {
        if (test())
            return true;
        if (Clock::now() > until)
            return false;
    }
}

// Where an X window stands on the screen and its size; empty when xdotool cannot tell.
std::optional<Box> window_rect(const std::vector<std::string>& env, unsigned long window)
{
    std::string out = e2e::run_bounded({"xdotool", "getwindowgeometry", std::to_string(window)}, env, seconds(5)).output;
    Box r{"window", 0, 0, 0, 0};
    size_t position = out.find("Position: "), geometry = out.find("Geometry: ");
    if (position == std::string::npos || geometry == std::string::npos ||
        std::sscanf(out.c_str() + position, "Position: %d,%d", &r.x, &r.y) != 2 ||
        std::sscanf(out.c_str() + geometry, "Geometry: %dx%d", &r.width, &r.height) != 2)
        return std::nullopt;
    return r;
}

unsigned long root_window(const std::vector<std::string>& env)
{
    std::string out = e2e::run_bounded({"xwininfo", "-root"}, env, seconds(5)).output;
    size_t at = out.find("Window id: ");
    return at == std::string::npos ? 0 : std::strtoul(out.c_str() + at + 11, nullptr, 16);
}

}  // namespace

void ClockUnderWine::SetUp()
{
    std::string why = missing_tools();
    if (!why.empty())
        GTEST_SKIP() << why;
    prefix_ = WinePrefix::shared(&why);
    ASSERT_NE(prefix_, nullptr) << "no Wine prefix: " << why;
    ASSERT_EQ(prefix_->reset(TICKVANE_WINDOWS_ZUBO), "") << "(the Windows clock comes from target zubo_windows)";
}

void ClockUnderWine::TearDown()
{
    clock_.reset();
    if (prefix_ != nullptr)
        prefix_->stop_server();  // its desktop process holds on to this test's X server
    x_.reset();
}

std::vector<std::string> ClockUnderWine::x_env() const { return e2e::environment_with({"DISPLAY=" + x_->name()}); }

bool ClockUnderWine::start(int width, int height, const std::string& pinned)
{
    width_ = width;
    height_ = height;
    std::string why;
    face_ = device_face(width, height, pinned, &why);
    if (face_.pixels.empty()) {
        ADD_FAILURE() << why;
        return false;
    }
    std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
    x_ = X11Session::start(24, &why, {"-screen", "0", screen});  // the later -screen 0 wins
    if (!x_) {
        ADD_FAILURE() << why;
        return false;
    }
    root_ = root_window(x_env());
    if (root_ == 0) {
        ADD_FAILURE() << "xwininfo cannot tell the root window of " << x_->name();
        return false;
    }
    return launch(pinned);
}

bool ClockUnderWine::launch(const std::string& pinned)
{
    // Started inside drive_c, so that C: is the current drive for the clock's rooted paths.
    clock_.emplace(std::vector<std::string>{"env", "-C", prefix_->drive_c(), "wine", kClockPath},
                   prefix_->environment({"DISPLAY=" + x_->name(), "TZ=UTC", "LD_PRELOAD=" TICKVANE_LIBFAKETIME,
                                         "FAKETIME=" + pinned, "FAKETIME_DONT_FAKE_MONOTONIC=1"}));
    std::vector<unsigned long> ids = e2e::windows_named(x_->name(), "^Tickvane$", true, seconds(40));
    if (ids.size() != 1) {
        ADD_FAILURE() << "no single Tickvane window; the clock said:\n" << clock_->output();
        return false;
    }
    Box year = glyph_boxes(width_, height_)[0];
    std::optional<Point> client;
    if (!within(seconds(10), [&] { return (client = find_client(capture_screen(), face_, year)).has_value(); })) {
        save_screen("no-year");
        ADD_FAILURE() << "the year that our device shows for " << pinned << " never appeared near the top left"
                      << " corner of the Wine window; the clock said:\n" << clock_->output();
        return false;
    }
    // Without a window manager Wine's X window holds the menu bar and the client area.
    std::optional<Box> window = window_rect(x_env(), ids[0]);
    if (!window) {
        ADD_FAILURE() << "xdotool cannot tell where the Tickvane window stands";
        return false;
    }
    client_ = Box{"client", client->x, client->y, window->x + window->width - client->x,
                  window->y + window->height - client->y};
    menu_bar_middle_ = (window->y - client->y) / 2;
    return true;
}

std::string ClockUnderWine::face_within(milliseconds limit)
{
    std::vector<Box> boxes = glyph_boxes(width_, height_);
    std::string last;
    within(limit, [&] { return (last = compare_face(capture_screen(), client_, face_, boxes)).empty(); });
    return last;
}

// The root window rather than Wine's own: it never changes size or goes away under the
// capture, which an X error would end the whole test program for.
test::Image ClockUnderWine::capture_screen()
{
    return test::Image{width_, height_, x_->capture(root_, width_, height_)};
}

void ClockUnderWine::click(int client_x, int client_y)
{
    EXPECT_EQ(e2e::xdotool(x_->name(), {"mousemove", std::to_string(client_.x + client_x),
                                        std::to_string(client_.y + client_y), "click", "1"}),
              "");
}

// Without a window manager the keyboard follows the pointer, which stays on the clock's
// window; Wine hands the keys to its own focus window (a dialog, a box).
void ClockUnderWine::keys(const std::vector<std::string>& names)
{
    std::vector<std::string> args{"key", "--delay", "100"};
    args.insert(args.end(), names.begin(), names.end());
    EXPECT_EQ(e2e::xdotool(x_->name(), args), "");
}

bool ClockUnderWine::window_shown(const std::string& title_regex, milliseconds limit)
{
    return within(limit, [&] { return !e2e::windows_named(x_->name(), title_regex, false, seconds(5)).empty(); });
}

bool ClockUnderWine::window_gone(const std::string& title_regex, milliseconds limit)
{
    return within(limit, [&] { return e2e::windows_named(x_->name(), title_regex, false, seconds(5)).empty(); });
}

void ClockUnderWine::save_screen(const std::string& name)
{
    const char* dir = getenv("TICKVANE_WINE_SHOTS");
    if (dir == nullptr || root_ == 0)
        return;
    std::string test = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    std::error_code ec;
    fs::create_directories(dir, ec);
    write_png(capture_screen(), std::string(dir) + "/" + test + "-" + name + ".png");
}

std::string ClockUnderWine::settings() const
{
    std::ifstream in(prefix_->settings_file(), std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::vector<std::string> ClockUnderWine::jobs() const
{
    std::vector<std::string> names;
    std::error_code ec;
    for (const fs::directory_entry& e : fs::directory_iterator(prefix_->tasks_dir(), ec))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace tickvane::wine
