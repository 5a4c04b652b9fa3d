// The tests' pump: it runs the loop through timers on virtual time, stops at the
// first idle point where its condition holds, gives up after its idle points, and
// leaves a quit it meets for the caller's loop.
#include <gtest/gtest.h>

#include "testing.h"
#include "win32.h"

namespace dt = tickvane::device::testing;

namespace {

int g_ticks = 0;

LRESULT CALLBACK Counting(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_TIMER)
        ++g_ticks;
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

TEST(Pump, RunsTimersUntilItsConditionOrItsIdlePointsRunOut)
{
    struct Case {
        int wanted_ticks;
        int max_idles;
        bool met;
    };
    for (Case c : {Case{3, 100, true}, Case{0, 100, true}, Case{1000, 5, false}}) {
        dt::reset();
        g_ticks = 0;
        WNDCLASSW wc{};
        wc.lpfnWndProc = Counting;
        wc.lpszClassName = u"counting";
        ASSERT_NE(RegisterClassW(&wc), 0);
        HWND w = CreateWindowExW(0, u"counting", u"", 0, 0, 0, 10, 10, nullptr, nullptr, dt::instance(), nullptr);
        ASSERT_NE(SetTimer(w, 1, 500, nullptr), 0u);
        uint64_t start = dt::virtual_now();
        EXPECT_EQ(dt::pump_until([&] { return g_ticks >= c.wanted_ticks; }, c.max_idles), c.met) << c.wanted_ticks;
        if (c.met) {
            EXPECT_EQ(g_ticks, c.wanted_ticks);  // the first idle point where it holds
        }
        EXPECT_EQ(dt::virtual_now() - start, 500u * (uint64_t)g_ticks);
    }
}

TEST(Pump, LeavesAQuitForTheCallersLoop)
{
    dt::reset();
    PostQuitMessage(7);
    dt::pump();
    MSG m;
    EXPECT_EQ(GetMessageW(&m, nullptr, 0, 0), FALSE);
    EXPECT_EQ(m.wParam, 7u);
}

}  // namespace
