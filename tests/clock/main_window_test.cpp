// The main window's life: paint requests, stray messages, teardown, one instance.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string_view>
#include <thread>

#include "clock_run.h"
#include "face_model.h"
#include "resource.h"
#include "testing.h"
#include "zubo.h"

using namespace tickvane::test;
namespace dt = tickvane::device::testing;

namespace {

constexpr uint32_t kRed = 0xFF0000;

// The built clock as another process on this test's device, headless.
pid_t start_clock_process()
{
    pid_t pid = fork();
    if (pid == 0) {
        setenv("TICKVANE_DEVICE_ROOT", dt::root().c_str(), 1);
        setenv("TICKVANE_DISPLAY", "headless", 1);
        execl(ZUBO_EXE, ZUBO_EXE, (char*)nullptr);
        _exit(127);
    }
    return pid;
}

// Paints the whole client area red through a window DC, as stale pixels would be.
void smear(HWND hwnd)
{
    HDC hdc = GetDC(hwnd);
    RECT r;
    GetClientRect(hwnd, &r);
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    FillRect(hdc, &r, red);
    DeleteObject(red);
    ReleaseDC(hwnd, hdc);
}

uint32_t client_pixel(int x, int y) { return dt::screen_pixel(x, dt::work_area().top + y); }

// Every top-level window of this process titled as the clock's, hidden ones too.
int count_clock_windows()
{
    int n = 0;
    for (HWND w = GetWindow(clock_window(), GW_HWNDFIRST); w != nullptr; w = GetWindow(w, GW_HWNDNEXT)) {
        WCHAR title[16] = {};
        GetWindowTextW(w, title, 16);
        n += std::u16string_view(title) == u"Tickvane";
    }
    return n;
}

}  // namespace

TEST(MainWindow, PaintRequestDrawsExactlyWhatATickDraws)
{
    dt::reset();
    std::vector<uint32_t> after_tick;
    ClockRun run = run_clock({{clock_shown(), [&] {
                                   HWND hwnd = clock_window();
                                   SendMessageW(hwnd, WM_TIMER, ID_REFRESH_TIMER, 0);
                                   RECT r;
                                   GetClientRect(hwnd, &r);
                                   for (int y = 0; y < r.bottom; ++y)
                                       for (int x = 0; x < r.right; ++x)
                                           after_tick.push_back(client_pixel(x, y));
                                   smear(hwnd);
                                   ASSERT_EQ(client_pixel(5, 5), kRed);
                                   InvalidateRect(hwnd, nullptr, FALSE);
                                   EXPECT_EQ(SendMessageW(hwnd, WM_PAINT, 0, 0), 0);
                                   size_t i = 0, differing = 0;
                                   for (int y = 0; y < r.bottom; ++y)
                                       for (int x = 0; x < r.right; ++x)
                                           differing += client_pixel(x, y) != after_tick[i++];
                                   EXPECT_EQ(differing, 0u);
                               }}});
    EXPECT_EQ(run.exit_code, 0);
}

TEST(MainWindow, OtherTimersAndUnknownCommandsDrawNothing)
{
    dt::reset();
    ClockRun run = run_clock({{clock_shown(), [&] {
                                   HWND hwnd = clock_window();
                                   smear(hwnd);
                                   EXPECT_EQ(SendMessageW(hwnd, WM_TIMER, 2, 0), 0);
                                   EXPECT_EQ(SendMessageW(hwnd, WM_COMMAND, 12345, 0), 0);
                                   EXPECT_EQ(SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(IDM_EXIT + 100, 0), 0), 0);
                                   EXPECT_EQ(client_pixel(0, 0), kRed);
                                   EXPECT_EQ(client_pixel(120, 150), kRed);
                               }}});
    EXPECT_EQ(run.exit_code, 0);
}

TEST(MainWindow, TeardownReleasesTheBackBufferAndIsSafeTwice)
{
    dt::reset();
    size_t objects_before = dt::gdi_object_count();
    ClockRun run = run_clock({{clock_shown(), [&] {
                                   HWND hwnd = clock_window();
                                   EXPECT_NE(g_hdcBack, nullptr);
                                   EXPECT_NE(g_hbmBack, nullptr);
                                   EXPECT_EQ(SendMessageW(hwnd, WM_DESTROY, 0, 0), 0);
                                   EXPECT_EQ(g_hdcBack, nullptr);
                                   EXPECT_EQ(g_hbmBack, nullptr);
                                   // Deleting the bitmap while its DC still held it would have left it behind.
                                   EXPECT_EQ(dt::gdi_object_count(), objects_before);
                                   EXPECT_EQ(SendMessageW(hwnd, WM_DESTROY, 0, 0), 0);
                                   EXPECT_EQ(g_hdcBack, nullptr);
                                   EXPECT_EQ(g_hbmBack, nullptr);
                               }}});
    EXPECT_EQ(run.exit_code, 0);
    EXPECT_TRUE(run.ended_itself) << "the loop ended on the teardown";
}

TEST(MainWindow, PaintsLeaveNoObjectsBehind)
{
    dt::reset();
    size_t after_first = 0;
    ClockRun run = run_clock({{clock_shown(), [&] { after_first = dt::gdi_object_count(); }},
                              {after_ms(20 * 300), [&] { EXPECT_EQ(dt::gdi_object_count(), after_first); }}});
    EXPECT_EQ(run.exit_code, 0);
}

TEST(MainWindow, SecondStartInTheSameProcessBringsTheFirstForward)
{
    dt::reset();
    ClockRun run = run_clock({{clock_shown(), [&] {
                                   HWND hwnd = clock_window();
                                   ShowWindow(hwnd, SW_MINIMIZE);
                                   ASSERT_TRUE(IsIconic(hwnd));
                                   EXPECT_EQ(WinMain(dt::instance(), nullptr, nullptr, SW_SHOWNORMAL), 0);
                                   EXPECT_FALSE(IsIconic(hwnd));
                                   EXPECT_EQ(GetActiveWindow(), hwnd);
                                   EXPECT_EQ(clock_window(), hwnd);
                                   EXPECT_EQ(count_clock_windows(), 1);
                               }}});
    EXPECT_EQ(run.exit_code, 0);
}

TEST(MainWindow, SecondProcessBringsTheFirstForwardAndEnds)
{
    dt::reset();
    int child_status = -1;
    ClockRun run = run_clock({{clock_shown(),
                               [&] {
                                   ShowWindow(clock_window(), SW_MINIMIZE);
                                   pid_t pid = start_clock_process();
                                   auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
                                   while (waitpid(pid, &child_status, WNOHANG) == 0 &&
                                          std::chrono::steady_clock::now() < deadline)
                                       std::this_thread::sleep_for(std::chrono::milliseconds(5));
                                   if (std::chrono::steady_clock::now() >= deadline) {
                                       kill(pid, SIGKILL);
                                       waitpid(pid, &child_status, 0);
                                   }
                               }},
                              {clock_shown(), [] { EXPECT_EQ(GetActiveWindow(), clock_window()); }}});
    EXPECT_EQ(run.exit_code, 0);
    ASSERT_TRUE(WIFEXITED(child_status)) << "the second clock did not end by itself";
    EXPECT_EQ(WEXITSTATUS(child_status), 0);
}

// Two starts at the same instant, as two taps on the icon or two due registrations
// give: the later one finds the first one's window and ends, every time.
TEST(MainWindow, TwoClocksStartedAtOnceEndAsOne)
{
    dt::reset();
    for (int trial = 0; trial < 10; ++trial) {
        pid_t clocks[2] = {start_clock_process(), start_clock_process()};
        int ended = 0, status = 0;
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(4);
        while (ended == 0 && std::chrono::steady_clock::now() < deadline) {
            for (pid_t& pid : clocks)
                if (pid > 0 && waitpid(pid, &status, WNOHANG) == pid) {
                    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "trial " << trial;
                    pid = 0;
                    ++ended;
                }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));  // a second one ending late
        for (pid_t pid : clocks)
            if (pid > 0 && waitpid(pid, &status, WNOHANG) == pid)
                ++ended;
            else if (pid > 0) {
                kill(pid, SIGKILL);
                waitpid(pid, &status, 0);
            }
        EXPECT_EQ(ended, 1) << "trial " << trial << ": exactly one clock stays";
    }
}
