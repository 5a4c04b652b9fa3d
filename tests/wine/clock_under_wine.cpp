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
// A desktop far larger than the handheld's screen that the clock's window plays.
constexpr int kScreenWidth = 1280, kScreenHeight = 1024;

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
    std::string out =
        e2e::run_bounded({"xdotool", "getwindowgeometry", std::to_string(window)}, env, seconds(5)).output;
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

bool ClockUnderWine::start(const std::string& pinned)
{
    pinned_ = pinned;
    // Started inside drive_c, so that C: is the current drive.
    return start_display() &&
           launch({"env", "-C", prefix_->drive_c(), "wine", kClockPath},
                  wine_environment({"TZ=UTC", "LD_PRELOAD=" TICKVANE_LIBFAKETIME, "FAKETIME=" + pinned_,
                                    "FAKETIME_DONT_FAKE_MONOTONIC=1"})) &&
           find_client(240, 320);
}

bool ClockUnderWine::start_program(const std::string& program, const std::string& folder,
                                   const std::vector<std::string>& time, const std::string& face_time)
{
    pinned_ = face_time;
    std::vector<std::string> env = time;
    env.push_back("TZ=UTC");
    return launch({"env", "-C", folder, "wine", program}, wine_environment(env)) && find_client(240, 320);
}

std::vector<std::string> ClockUnderWine::wine_environment(const std::vector<std::string>& changes) const
{
    std::vector<std::string> all{"DISPLAY=" + x_->name()};
    all.insert(all.end(), changes.begin(), changes.end());
    return prefix_->environment(all);
}

bool ClockUnderWine::start_display()
{
    std::string why;
    x_ = X11Session::start(24, &why,
                           {"-screen", "0",
                            std::to_string(kScreenWidth) + "x" + std::to_string(kScreenHeight) +
                                "x24"});  // the later wins
    if (!x_) {
        ADD_FAILURE() << why;
        return false;
    }
    root_ = root_window(x_env());
    if (root_ == 0) {
        ADD_FAILURE() << "xwininfo cannot tell the root window of " << x_->name();
        return false;
    }
    return true;
}

// The clock's window is the one titled "Tickvane" that the launch added: another program's
// window may carry the same title.
bool ClockUnderWine::launch(const std::vector<std::string>& argv, const std::vector<std::string>& env)
{
    std::vector<unsigned long> before = e2e::windows_named(x_->name(), "^Tickvane$", false, seconds(5)), added;
    clock_.emplace(argv, env);
    within(seconds(40), [&] {
        added = e2e::windows_named(x_->name(), "^Tickvane$", false, seconds(5));
        std::erase_if(added, [&](unsigned long id) { return std::count(before.begin(), before.end(), id) > 0; });
        return !added.empty();
    });
    if (added.size() != 1) {
        ADD_FAILURE() << "no single new Tickvane window; the clock said:\n" << clock_->output();
        return false;
    }
    window_ = added[0];
    return true;
}

// Waits for the clock's window to hold a width x height client area below its menu bar,
// the year of our device's face at its top left corner.
bool ClockUnderWine::find_client(int width, int height)
{
    std::string why;
    test::Image face = device_face(width, height, pinned_, &why);
    if (face.pixels.empty()) {
        ADD_FAILURE() << why;
        return false;
    }
    Box year = glyph_boxes(width, height)[0];
    std::optional<Box> window;
    std::optional<Point> client;
    bool found = within(seconds(10), [&] {
        window = window_rect(x_env(), window_);
        if (!window || window->width != width || window->height <= height)
            return false;
        // The menu bar lies above the client area, which reaches the window's bottom.
        Box below_menu{"client", window->x, window->y + window->height - height, width, height};
        client = wine::find_client(capture_screen(), face, year, below_menu);
        return client.has_value();
    });
    if (!found) {
        save_screen("no-client");
        ADD_FAILURE() << "the Tickvane window never showed a " << width << " x " << height
                      << " client area with the year our device draws for " << pinned_ << " at its corner; the window "
                      << (window ? std::to_string(window->width) + " x " + std::to_string(window->height) : "unknown")
                      << "; the clock said:\n"
                      << clock_->output();
        return false;
    }
    client_ = Box{"client", client->x, client->y, width, height};
    menu_bar_ = Box{"menu bar", window->x, window->y, window->width, client->y - window->y};
    menu_bar_middle_ = (window->y - client->y) / 2;
    return true;
}

bool ClockUnderWine::rotate()
{
    keys({"F5"});
    return find_client(client_.height, client_.width);
}

std::string ClockUnderWine::face_within(milliseconds limit)
{
    std::string why;
    test::Image face = device_face(client_.width, client_.height, pinned_, &why);
    if (face.pixels.empty())
        return why;
    std::vector<Box> boxes = glyph_boxes(client_.width, client_.height);
    std::string last;
    within(limit, [&] { return (last = compare_face(capture_screen(), client_, face, boxes)).empty(); });
    return last;
}

// The root window rather than Wine's own: it never changes size or goes away under the
// capture, which an X error would end the whole test program for.
test::Image ClockUnderWine::capture_screen()
{
    return test::Image{kScreenWidth, kScreenHeight, x_->capture(root_, kScreenWidth, kScreenHeight)};
}

std::optional<Box> ClockUnderWine::window_box(const std::string& title_regex)
{
    std::vector<unsigned long> ids = e2e::windows_named(x_->name(), title_regex, false, seconds(5));
    if (ids.size() != 1)
        return std::nullopt;
    return window_rect(x_env(), ids[0]);
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
