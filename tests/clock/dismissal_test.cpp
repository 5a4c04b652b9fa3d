// Ending an appearance by a tap, by the dismiss command or by switching away, as a
// person does it on the headless device; asserted on the notification rows, the
// window and the exit code.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include "clock_run.h"
#include "device_tree.h"
#include "resource.h"
#include "testing.h"
#include "zubo.h"

using namespace tickvane::test;
namespace dt = tickvane::device::testing;

namespace {

struct Attempt {
    bool iconic;
    uint64_t virtual_ms;
    SYSTEMTIME start;
};

class Dismissal : public ::testing::Test {
protected:
    void SetUp() override
    {
        dt::reset();  // the clock reads 2026-12-07 09:05:30
        install_clock_tree();
        g_ignoreNextDeactivate = 0;
    }
    // Records every registration attempt; the first `refusals` are refused.
    void watch_attempts(int refusals)
    {
        dt::on_registration([this, refusals](const SYSTEMTIME& start) {
            HWND hwnd = clock_window();
            attempts.push_back({hwnd && IsIconic(hwnd) != FALSE, dt::virtual_now(), start});
            return (int)attempts.size() > refusals;
        });
    }
    void tap_face()
    {
        RECT area = dt::work_area();
        dt::tap(area.left + 100, area.top + 150);
    }
    std::vector<Attempt> attempts;
};

}  // namespace

TEST_F(Dismissal, TapRegistersMinimisesAndEnds)
{
    watch_attempts(1);
    ClockRun run = run_clock({{clock_shown(), [&] { tap_face(); }}});
    EXPECT_EQ(run.exit_code, 0);
    EXPECT_TRUE(run.ended_itself) << "the clock ended on the tap";
    ASSERT_EQ(attempts.size(), 2u);
    EXPECT_FALSE(attempts[0].iconic) << "the first request comes before the minimising";
    EXPECT_TRUE(attempts[1].iconic) << "the window is minimised before any retry";
    auto rows = dt::pending();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].due, "2026-12-07 09:05:45");
}

TEST_F(Dismissal, DismissCommandEndsLikeATap)
{
    write_settings("1 2");
    ClockRun run = run_clock(
        {{clock_shown(),
          [] { EXPECT_EQ(SendMessageW(clock_window(), WM_COMMAND, MAKEWPARAM(IDM_DISMISS, 0), 0), 0); }}});
    EXPECT_EQ(run.exit_code, 0);
    EXPECT_TRUE(run.ended_itself);
    auto rows = dt::pending();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].due, "2026-12-07 09:07:00");
}

// The desktop window's close button is the handheld's own close button: the clock
// goes into the background, which ends this appearance like switching away.
TEST_F(Dismissal, SwitchingAwayOrClosingTheDesktopWindowRegistersWithoutMinimising)
{
    for (void (*leave)() : {dt::switch_away, dt::close_display}) {
        SetUp();
        watch_attempts(0);
        ClockRun run = run_clock({{clock_shown(), leave}});
        EXPECT_EQ(run.exit_code, 0);
        EXPECT_TRUE(run.ended_itself);
        ASSERT_EQ(attempts.size(), 1u);
        EXPECT_FALSE(attempts[0].iconic);
        EXPECT_EQ(dt::pending().size(), 1u);
        EXPECT_EQ(g_hdcBack, nullptr);
        attempts.clear();
    }
}

TEST_F(Dismissal, MinimisingIsNotADismissal)
{
    ClockRun run = run_clock(
        {{clock_shown(), [] { ShowWindow(clock_window(), SW_MINIMIZE); }}, {after_ms(1000), [] {
                                                                                EXPECT_TRUE(IsIconic(clock_window()));
                                                                                EXPECT_TRUE(dt::pending().empty());
                                                                            }}});
    EXPECT_EQ(run.exit_code, 0);
    EXPECT_FALSE(run.ended_itself) << "the clock kept running while minimised";
}

TEST_F(Dismissal, AnnouncedDeactivationIsAbsorbedOnce)
{
    Until active = until("the clock to be active", [] { return GetActiveWindow() == clock_window(); });
    Until inactive = until("the clock to be inactive", [] { return GetActiveWindow() != clock_window(); });
    ClockRun run = run_clock({{clock_shown(),
                               [] {
                                   g_ignoreNextDeactivate = 1;
                                   dt::switch_away();
                               }},
                              {inactive,
                               [] {
                                   EXPECT_EQ(g_ignoreNextDeactivate, 0);
                                   EXPECT_TRUE(dt::pending().empty());
                                   EXPECT_FALSE(IsIconic(clock_window()));
                                   // Announced while already inactive: the flag waits for the next deactivation.
                                   g_ignoreNextDeactivate = 1;
                                   dt::switch_back();
                               }},
                              {active,
                               [] {
                                   EXPECT_EQ(g_ignoreNextDeactivate, 1) << "an activation does not consume the flag";
                                   dt::switch_away();
                               }},
                              {inactive,
                               [] {
                                   EXPECT_EQ(g_ignoreNextDeactivate, 0);
                                   EXPECT_TRUE(dt::pending().empty()) << "the clock stays in the background";
                                   dt::switch_back();
                               }},
                              {active, dt::switch_away}});  // nothing announced any more
    EXPECT_EQ(run.exit_code, 0);
    EXPECT_TRUE(run.ended_itself);
    EXPECT_EQ(dt::pending().size(), 1u);
}

TEST_F(Dismissal, ActivateRowsAnswerAsTheWindowManagerExpects)
{
    ClockRun run = run_clock({{clock_shown(), [] {
                                   HWND hwnd = clock_window();
                                   g_ignoreNextDeactivate = 1;
                                   EXPECT_EQ(SendMessageW(hwnd, WM_ACTIVATE, WA_INACTIVE, 0), 1);
                                   EXPECT_EQ(g_ignoreNextDeactivate, 0);
                                   // Minimised deactivations and activations go to the default procedure.
                                   EXPECT_EQ(SendMessageW(hwnd, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 1), 0), 0);
                                   EXPECT_EQ(SendMessageW(hwnd, WM_ACTIVATE, WA_ACTIVE, 0), 0);
                                   EXPECT_TRUE(dt::pending().empty());
                                   EXPECT_EQ(SendMessageW(hwnd, WM_ACTIVATE, WA_INACTIVE, 0), 0);  // dismisses
                               }}});
    EXPECT_EQ(run.exit_code, 0);
    EXPECT_TRUE(run.ended_itself);
    EXPECT_EQ(dt::pending().size(), 1u);
}

TEST_F(Dismissal, RefusedRequestsAreRetriedWithGrowingPausesReadingTheClockAfresh)
{
    dt::on_registration([this](const SYSTEMTIME& start) {
        HWND hwnd = clock_window();
        attempts.push_back({hwnd && IsIconic(hwnd) != FALSE, dt::virtual_now(), start});
        SYSTEMTIME later{2026, 12, 1, 7, 9, 5, (WORD)(31 + attempts.size()), 0};
        dt::set_local_time(later);  // the clock moves on between attempts
        return attempts.size() > 2;
    });
    ClockRun run = run_clock({{clock_shown(), [&] { tap_face(); }}});
    EXPECT_EQ(run.exit_code, 0);
    ASSERT_EQ(attempts.size(), 3u);
    EXPECT_EQ(attempts[1].virtual_ms - attempts[0].virtual_ms, 250u);
    EXPECT_EQ(attempts[2].virtual_ms - attempts[1].virtual_ms, 500u);
    EXPECT_EQ(attempts[0].start.wSecond, 45);
    EXPECT_EQ(attempts[2].start.wSecond, 48) << "each attempt reads the clock again";
    auto rows = dt::pending();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].due, "2026-12-07 09:05:48");
}

TEST_F(Dismissal, RequestsThatStayRefusedLeaveTheClockShownAndATapTriesAgain)
{
    bool refuse = true;
    dt::on_registration([&](const SYSTEMTIME&) {
        attempts.push_back({false, dt::virtual_now(), {}});
        return !refuse;
    });
    Until refused = until("five refused attempts", [&] { return attempts.size() >= 5; });
    ClockRun run = run_clock({{clock_shown(), [&] { tap_face(); }},
                              {refused, [&] {
                                   ASSERT_EQ(attempts.size(), 5u);
                                   EXPECT_EQ(attempts.back().virtual_ms - attempts.front().virtual_ms, 3750u)
                                       << "paced, and bounded";
                                   EXPECT_FALSE(IsIconic(clock_window())) << "shown again: the tap did not end it";
                                   EXPECT_EQ(GetActiveWindow(), clock_window());
                                   EXPECT_TRUE(dt::pending().empty());
                                   refuse = false;
                                   tap_face();
                               }}});
    EXPECT_EQ(run.exit_code, 0);
    EXPECT_TRUE(run.ended_itself) << "the second tap ended the clock";
    EXPECT_EQ(attempts.size(), 6u);
    EXPECT_EQ(dt::pending().size(), 1u);
}

TEST_F(Dismissal, SwitchingAwayWhileRequestsStayRefusedKeepsTheClockInTheBackground)
{
    dt::on_registration([&](const SYSTEMTIME&) {
        attempts.push_back({false, dt::virtual_now(), {}});
        return false;
    });
    Until refused = until("five refused attempts", [&] { return attempts.size() >= 5; });
    ClockRun run = run_clock({{clock_shown(), dt::switch_away}, {refused, [&] {
                                                                     EXPECT_EQ(attempts.size(), 5u);
                                                                     EXPECT_FALSE(IsIconic(clock_window()));
                                                                     EXPECT_NE(GetActiveWindow(), clock_window());
                                                                 }}});
    EXPECT_EQ(run.exit_code, 0);
    EXPECT_FALSE(run.ended_itself) << "the clock stays in the background";
    EXPECT_TRUE(dt::pending().empty());
}

// A clock that cannot register stays, and the device says once why and what mends it.
TEST(RefusedDismissal, SaysOnceWhyAndHow)
{
    dt::reset();
    std::string base = dt::root();  // a fresh root: no clock laid out
    std::ofstream(base + "/a-file") << "x";
    const struct {
        std::string root;
        std::vector<std::string> told;
    } cases[] = {
        {base, {base + "/Program Files/Tickvane/zubo.exe", "cmake --install", "--prefix '" + base + "'"}},
        {base + "/a-file", {base + "/a-file is not a folder", "TICKVANE_DEVICE_ROOT"}},
    };
    for (const auto& c : cases) {
        dt::Options options;
        options.root = c.root;
        dt::reset(options);
        ::testing::internal::CaptureStderr();
        auto tap = [] { dt::tap(dt::work_area().left + 100, dt::work_area().top + 150); };
        ClockRun run = run_clock({{clock_shown(), tap}, {clock_shown(), tap}});  // two taps, each refused
        std::string said = ::testing::internal::GetCapturedStderr();
        EXPECT_FALSE(run.ended_itself) << "the clock stays after each refused tap";
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
        for (const std::string& part : c.told)
            EXPECT_NE(said.find(part), std::string::npos) << part << " in: " << said;
    }
}
