#include <gtest/gtest.h>
#include <time.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <optional>
#include <thread>

#include "display/display.h"
#include "test_pattern.h"
#include "x11_session.h"

using namespace tickvane::display;
using namespace tickvane::display::testing;
using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

namespace {

// How the X server is started: its depth, extra options, and whether it can see our shared memory.
struct Server {
    const char* name;
    int depth = 24;
    std::vector<std::string> options = {};
    bool own_ipc_namespace = false;
};

void PrintTo(const Server& server, std::ostream* out) { *out << server.name; }

class DesktopWindowOnXvfb : public ::testing::Test {
protected:
    void open_on(const Server& server, int width = 240, int height = 320, int scale = 2)
    {
        std::string why;
        x = X11Session::start(server.depth, &why, server.options, server.own_ipc_namespace);
        if (!x)
            GTEST_SKIP() << why;
        setenv("DISPLAY", x->name().c_str(), 1);
        window = open_desktop_window(width, height, scale, &why);
        ASSERT_NE(window, nullptr) << why;
        ASSERT_NE(id = x->find_window("Tickvane"), 0UL);
    }
    void SetUp() override { open_on({"usual"}); }

    void xdotool(const std::string& args)
    {
        std::string command = "xdotool " + args + " >/dev/null 2>&1";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
    }
    std::string at(int wx, int wy)
    {
        return "mousemove --window " + std::to_string(id) + " " + std::to_string(wx) + " " + std::to_string(wy);
    }

    // Input as the device takes it during `ms`, focus changes left out (they depend on the server).
    std::vector<Event> events_within(int ms) { return events_until(0, ms); }
    // The same until `count` events have come (then `ms` more, to see that no more come),
    // or 10 s have passed: a loaded machine delivers late, not never.
    std::vector<Event> events_until(size_t count, int ms = 200)
    {
        std::vector<Event> events;
        auto give_up = Clock::now() + std::chrono::seconds(10), until = Clock::now() + milliseconds(ms);
        for (bool enough = count == 0; Clock::now() < (enough ? until : give_up);) {
            window->wait(50, {});
            for (Event e; window->poll(e);)
                if (e.kind != EventKind::FocusGained && e.kind != EventKind::FocusLost)
                    events.push_back(e);
            if (!enough && events.size() >= count) {
                enough = true;
                until = Clock::now() + milliseconds(ms);
            }
        }
        return events;
    }

    // Every window pixel against the screen pixel it enlarges. A frame goes as
    // several requests that the window's connection has only flushed: the server may
    // still be working through them when this connection asks, so the picture is waited
    // for (a frame that never arrives still fails).
    void expect_window_shows(Framebuffer& screen, int scale = 2)
    {
        int w = screen.width * scale, h = screen.height * scale;
        ASSERT_EQ(x->window_size(id), std::pair(w, h));
        auto first_wrong = [&](const std::vector<uint32_t>& shot) -> std::optional<std::pair<int, int>> {
            if (shot.size() != static_cast<size_t>(w * h))
                return std::pair(0, 0);
            for (int y = 0; y < h; ++y)
                for (int i = 0; i < w; ++i)
                    if (shot[y * w + i] != screen.at(i / scale, y / scale))
                        return std::pair(i, y);
            return std::nullopt;
        };
        std::vector<uint32_t> shot = x->capture(id, w, h);
        for (auto until = Clock::now() + std::chrono::seconds(10); first_wrong(shot) && Clock::now() < until;) {
            std::this_thread::sleep_for(milliseconds(20));
            shot = x->capture(id, w, h);
        }
        ASSERT_EQ(shot.size(), static_cast<size_t>(w * h)) << "the window could not be read";
        if (auto at = first_wrong(shot))
            FAIL() << "window shows " << shot[at->second * w + at->first] << ", screen has "
                   << screen.at(at->first / scale, at->second / scale) << " at " << at->first << "," << at->second;
    }

    std::unique_ptr<X11Session> x;  // outlives the window
    std::unique_ptr<Display> window;
    unsigned long id = 0;
};

class DesktopWindowOnServer : public DesktopWindowOnXvfb, public ::testing::WithParamInterface<Server> {
    void SetUp() override { open_on(GetParam()); }
};

TEST_P(DesktopWindowOnServer, ShowsTheScreenScaledAndRedrawsOnlyTheListedAreas)
{
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

// The usual server, a 16-bit screen (drawn through its 32-bit visual), one without MIT-SHM,
// and one whose shared memory is out of our reach (as on a remote display): the picture is
// the same. The listed area spans two of the bands a frame is sent in.
INSTANTIATE_TEST_SUITE_P(Servers, DesktopWindowOnServer,
                         ::testing::Values(Server{"Usual"}, Server{"Depth16", 16},
                                           Server{"WithoutMitShm", 24, {"-extension", "MIT-SHM"}},
                                           Server{"SharedMemoryOutOfReach", 24, {}, true}),
                         [](const auto& server) { return std::string(server.param.name); });

// A turned 240 x 320 screen at zoom 8, as on a large monitor: one row of zoom blocks is
// wider than a band's usual size.
class DesktopWindowOnALargeScreen : public DesktopWindowOnXvfb {
    void SetUp() override { open_on({"Large", 24, {"-screen", "0", "2700x2700x24"}}, 320, 240, 8); }
};

TEST_F(DesktopWindowOnALargeScreen, ShowsTheScreenAtZoomEight)
{
    Framebuffer screen(320, 240);
    window->present(screen.pixels(), {{0, 0, 320, 240}});
    expect_window_shows(screen, 8);
}

TEST_F(DesktopWindowOnXvfb, ClicksAreTapsAtScreenCoordinatesAndF5Rotates)
{
    xdotool(at(21, 41) + " click 1 key F5 shift+b");
    std::vector<Event> got = events_until(5);
    ASSERT_EQ(got.size(), 5u);
    EXPECT_EQ(got[0].kind, EventKind::PointerDown);
    EXPECT_EQ(got[1].kind, EventKind::PointerUp);
    EXPECT_EQ(std::pair(got[1].x, got[1].y), std::pair(10, 20));
    EXPECT_EQ(got[2].kind, EventKind::Rotate);
    EXPECT_EQ(got[3].vk, 'B');
    EXPECT_TRUE(got[3].shift);
}

bool has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST_F(DesktopWindowOnXvfb, AHeldF5TurnsTheScreenOnceWhileOtherKeysRepeat)
{
    xdotool(at(5, 5) + " keydown F5 sleep 1 keyup F5 keydown a sleep 1 keyup a");
    std::vector<Event> got = events_until(4);
    while (!got.empty() && got.back().kind != EventKind::KeyUp) {  // the release may still be on its way
        std::vector<Event> more = events_until(1, 0);
        if (more.empty())
            break;
        got.insert(got.end(), more.begin(), more.end());
    }
    ASSERT_GE(got.size(), 4u);
    EXPECT_EQ(got[0].kind, EventKind::Rotate);
    for (size_t i = 1; i + 1 < got.size(); ++i) {
        EXPECT_EQ(got[i].kind, EventKind::KeyDown) << i;
        EXPECT_EQ(got[i].vk, 'A') << i;
    }
    EXPECT_EQ(got.back().kind, EventKind::KeyUp) << "one release, at the end";
}

TEST_F(DesktopWindowOnXvfb, TellsTheWindowManagerItsNameAndFixedSizeAndRotationResizesIt)
{
    std::string props = x->properties(id);
    EXPECT_TRUE(has(props, "WM_NAME(STRING) = \"Tickvane\"")) << props;
    EXPECT_TRUE(has(props, "_NET_WM_NAME(UTF8_STRING) = \"Tickvane\"")) << props;
    EXPECT_TRUE(has(props, "WM_CLASS(STRING) = \"zubo\", \"Tickvane\"")) << props;
    EXPECT_TRUE(has(props, "WM_PROTOCOLS(ATOM): protocols  WM_DELETE_WINDOW")) << props;
    EXPECT_TRUE(has(props, "accepts input or input focus: True")) << props;
    EXPECT_TRUE(has(props, "minimum size: 480 by 640") && has(props, "maximum size: 480 by 640")) << props;

    window->resize(320, 240);
    props = x->properties(id);
    EXPECT_TRUE(has(props, "minimum size: 640 by 480") && has(props, "maximum size: 640 by 480")) << props;
    Framebuffer landscape(320, 240, 0x404040);
    window->present(landscape.pixels(), {{0, 0, 320, 240}});
    expect_window_shows(landscape);
}

TEST_F(DesktopWindowOnXvfb, RaiseRepaintsWhatWasCoveredAndTheCloseButtonClosesOnce)
{
    Framebuffer screen(240, 320);
    window->present(screen.pixels(), {{0, 0, 240, 320}});
    // The screen changes behind the window's back, so that what it sends again shows.
    Framebuffer presented = screen;
    screen.at(100, 100) = 0x123456;
    events_within(300);  // the mapping's exposure came before the frame: nothing is sent again
    expect_window_shows(presented);
    x->cover(id);
    window->raise();
    events_within(300);  // this exposure is repainted without a new frame from the device
    expect_window_shows(screen);

    x->request_close(id);
    std::vector<Event> got = events_until(1, 300);
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].kind, EventKind::Close);
}

double cpu_ms()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

TEST_F(DesktopWindowOnXvfb, WaitSleepsWithoutSpinningAndWakesForInputOrDescriptors)
{
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
    EXPECT_LT(Clock::now() - start, milliseconds(2500)) << "a readable descriptor did not end the wait";
    close(fds[0]);
    close(fds[1]);
}

// A window manager that is still starting may drop the first map request: the window
// asks again until it is shown, and no more once it is.
TEST(DesktopWindowUnderAStartingWindowManager, AsksAgainToBeShownUntilItIs)
{
    std::string why;
    auto x = X11Session::start(24, &why);
    if (!x)
        GTEST_SKIP() << why;
    setenv("DISPLAY", x->name().c_str(), 1);
    x->take_map_requests();
    auto window = open_desktop_window(240, 320, 2, &why);
    ASSERT_NE(window, nullptr) << why;
    unsigned long dropped = x->next_map_request(std::chrono::seconds(10));
    ASSERT_NE(dropped, 0UL);
    auto requests_within = [&](milliseconds limit) {
        unsigned long again = 0;
        for (auto until = Clock::now() + limit; again == 0 && Clock::now() < until;) {
            window->wait(100, {});
            for (Event e; window->poll(e);) {
            }
            again = x->next_map_request(milliseconds(0));
        }
        return again;
    };
    EXPECT_EQ(requests_within(std::chrono::seconds(10)), dropped) << "the dropped request was not made again";
    x->map(dropped);
    EXPECT_EQ(requests_within(std::chrono::milliseconds(2500)), 0UL) << "a shown window asked again";
}

TEST(DesktopWindowWithoutDisplay, IsRefusedWithAReason)
{
    std::string why;
    unsetenv("DISPLAY");
    EXPECT_EQ(open_desktop_window(240, 320, 2, &why), nullptr);
    EXPECT_NE(why.find("DISPLAY is not set"), std::string::npos) << why;

    setenv("DISPLAY", ":9999", 1);  // no server there
    EXPECT_EQ(open_desktop_window(240, 320, 2, &why), nullptr);
    EXPECT_NE(why.find("cannot open display :9999"), std::string::npos) << why;
    EXPECT_EQ(open_desktop_window(240, 320, 0, nullptr), nullptr);
}

TEST(DesktopWindowOnA16BitScreen, IsRefusedWithAReasonWithoutA24Or32BitVisual)
{
    std::string why;
    auto x = X11Session::start(16, &why, {"-extension", "Composite"});  // no 32-bit visual either then
    if (!x)
        GTEST_SKIP() << why;
    setenv("DISPLAY", x->name().c_str(), 1);
    EXPECT_EQ(open_desktop_window(240, 320, 2, &why), nullptr);
    EXPECT_NE(why.find("no 24- or 32-bit TrueColor visual"), std::string::npos) << why;
}

}  // namespace
