#include <gtest/gtest.h>
#include <time.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "display/display.h"
#include "test_pattern.h"
#include "x11_session.h"

using namespace tickvane::display;
using namespace tickvane::display::testing;
using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

namespace {

class DesktopWindowOnXvfb : public ::testing::Test {
protected:
    void open_at_depth(int depth) {
        shown_bits = depth == 16 ? 0xF8FCF8 : 0xFFFFFF;  // what 5-6-5 keeps of each channel
        std::string why;
        x = X11Session::start(depth, &why);
        if (!x) GTEST_SKIP() << why;
        setenv("DISPLAY", x->name().c_str(), 1);
        unsetenv("WAYLAND_DISPLAY");
        unsetenv("SDL_VIDEODRIVER");
        window = open_desktop_window(240, 320, 2, &why);
        ASSERT_NE(window, nullptr) << why;
        ASSERT_NE(id = x->find_window("Tickvane"), 0UL);
    }
    void SetUp() override { open_at_depth(24); }

    void xdotool(const std::string& args) {
        std::string command = "xdotool " + args + " >/dev/null 2>&1";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
    }
    std::string at(int wx, int wy) {
        return "mousemove --window " + std::to_string(id) + " " + std::to_string(wx) + " " + std::to_string(wy);
    }

    // Input as the device takes it during `ms`, focus changes left out (they depend on the server).
    std::vector<Event> events_within(int ms) {
        std::vector<Event> events;
        for (auto until = Clock::now() + milliseconds(ms); Clock::now() < until;) {
            window->wait(50, {});
            for (Event e; window->poll(e);)
                if (e.kind != EventKind::FocusGained && e.kind != EventKind::FocusLost) events.push_back(e);
        }
        return events;
    }

    // Every window pixel against the screen pixel it enlarges (zoom 2).
    void expect_window_shows(Framebuffer& screen) {
        int w = screen.width * 2, h = screen.height * 2;
        ASSERT_EQ(x->window_size(id), std::pair(w, h));
        std::vector<uint32_t> shot = x->capture(id, w, h);
        for (int y = 0; y < h; ++y)
            for (int i = 0; i < w; ++i)
                ASSERT_EQ(shot[y * w + i], screen.at(i / 2, y / 2) & shown_bits) << i << "," << y;
    }

    std::unique_ptr<X11Session> x;  // outlives the window
    std::unique_ptr<Display> window;
    unsigned long id = 0;
    uint32_t shown_bits = 0;
};

class DesktopWindowAtDepth : public DesktopWindowOnXvfb, public ::testing::WithParamInterface<int> {
    void SetUp() override { open_at_depth(GetParam()); }
};

TEST_P(DesktopWindowAtDepth, ShowsTheScreenScaledAndRedrawsOnlyTheListedAreas) {
    Framebuffer screen(240, 320);
    window->present(screen.pixels(), {{0, 0, 240, 320}});
    expect_window_shows(screen);

    Framebuffer shown = screen;
    for (int i = 0; i < 400; ++i) {
        screen.at(10 + i % 20, 10 + i / 20) = shown.at(10 + i % 20, 10 + i / 20) = 0xFFFFFF;
        screen.at(100 + i % 20, 200 + i / 20) = 0xFFFFFF;  // changed, but not listed
    }
    window->present(screen.pixels(), {{10, 10, 20, 20}});
    expect_window_shows(shown);
}

INSTANTIATE_TEST_SUITE_P(Visuals, DesktopWindowAtDepth, ::testing::Values(24, 16));

TEST_F(DesktopWindowOnXvfb, ClicksAreTapsAtScreenCoordinatesAndF5Rotates) {
    xdotool(at(21, 41) + " click 1 key F5 shift+b");
    std::vector<Event> got = events_within(500);
    ASSERT_EQ(got.size(), 5u);
    EXPECT_EQ(got[0].kind, EventKind::PointerDown);
    EXPECT_EQ(got[1].kind, EventKind::PointerUp);
    EXPECT_EQ(std::pair(got[1].x, got[1].y), std::pair(10, 20));
    EXPECT_EQ(got[2].kind, EventKind::Rotate);
    EXPECT_EQ(got[3].vk, 'B');
    EXPECT_TRUE(got[3].shift);
}

TEST_F(DesktopWindowOnXvfb, RotationResizesTheWindow) {
    window->resize(320, 240);
    Framebuffer landscape(320, 240, 0x404040);
    window->present(landscape.pixels(), {{0, 0, 320, 240}});
    expect_window_shows(landscape);
}

TEST_F(DesktopWindowOnXvfb, RaiseRepaintsWhatWasCoveredAndTheCloseButtonClosesOnce) {
    Framebuffer screen(240, 320);
    window->present(screen.pixels(), {{0, 0, 240, 320}});
    x->cover(id);
    window->raise();
    events_within(300);  // the exposure is repainted without a new frame from the device
    expect_window_shows(screen);

    x->request_close(id);
    std::vector<Event> got = events_within(300);
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].kind, EventKind::Close);
}

double cpu_ms() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

TEST_F(DesktopWindowOnXvfb, WaitSleepsWithoutSpinningAndWakesForInputOrDescriptors) {
    events_within(300);  // start-up exposure and focus
    auto start = Clock::now();
    double cpu_before = cpu_ms();
    window->wait(400, {});
    EXPECT_GE(Clock::now() - start, milliseconds(400));
    EXPECT_LT(cpu_ms() - cpu_before, 40.0) << "wait() must block, not poll";

    std::thread tap([&] {
        std::this_thread::sleep_for(milliseconds(100));
        xdotool(at(3, 3) + " click 1");
    });
    window->wait(-1, {});
    tap.join();
    Event e;
    ASSERT_TRUE(window->poll(e));
    EXPECT_EQ(e.kind, EventKind::PointerDown);

    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    ASSERT_EQ(write(fds[1], "x", 1), 1);
    events_within(200);
    start = Clock::now();
    window->wait(5000, {fds[0]});
    EXPECT_LT(Clock::now() - start, milliseconds(100));
    close(fds[0]);
    close(fds[1]);
}

TEST(DesktopWindowWithoutDisplay, IsRefusedWithAReason) {
    std::string why;
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    EXPECT_EQ(open_desktop_window(240, 320, 2, &why), nullptr);
    EXPECT_NE(why.find("DISPLAY is not set"), std::string::npos) << why;

    setenv("DISPLAY", ":9999", 1);
    setenv("SDL_VIDEODRIVER", "dummy", 1);  // SDL's invisible fallback must not pass for a window
    EXPECT_EQ(open_desktop_window(240, 320, 2, &why), nullptr);
    EXPECT_NE(why.find("dummy"), std::string::npos) << why;
    unsetenv("SDL_VIDEODRIVER");
    EXPECT_EQ(open_desktop_window(240, 320, 0, nullptr), nullptr);
}

}  // namespace
