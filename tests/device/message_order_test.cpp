// The message traffic the clock relies on: nested sends, activation as Windows
// orders it, and the queue's priorities.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "testing.h"
#include "win32.h"

namespace dt = tickvane::device::testing;

namespace {

struct Logged {
    HWND hwnd;
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
};
std::vector<Logged> g_log;
HWND g_nested_target = nullptr;

LRESULT CALLBACK LoggingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    g_log.push_back({hwnd, msg, wParam, lParam});
    if (msg == WM_USER + 1 && g_nested_target != nullptr) {
        SendMessageW(g_nested_target, WM_USER + 2, 0, 0);
        g_log.push_back({hwnd, WM_USER + 3, 0, 0});  // after the nested send returned
    }
    if (msg == WM_PAINT) {
        PAINTSTRUCT ps;
        BeginPaint(hwnd, &ps);
        EndPaint(hwnd, &ps);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

class Messages : public ::testing::Test {
protected:
    void SetUp() override
    {
        dt::reset();
        g_log.clear();
        g_nested_target = nullptr;
        WNDCLASSW wc{};
        wc.lpfnWndProc = LoggingProc;
        wc.lpszClassName = u"logger";
        ASSERT_NE(RegisterClassW(&wc), 0);
    }
    HWND make(const char16_t* title)
    {
        return CreateWindowExW(0, u"logger", title, WS_SYSMENU, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                               CW_USEDEFAULT, nullptr, nullptr, dt::instance(), nullptr);
    }
    std::vector<UINT> messages_of(HWND hwnd, std::initializer_list<UINT> kinds) const
    {
        std::vector<UINT> out;
        for (const Logged& l : g_log)
            if (l.hwnd == hwnd && std::find(kinds.begin(), kinds.end(), l.msg) != kinds.end())
                out.push_back(l.msg);
        return out;
    }
    const Logged* find(HWND hwnd, UINT msg) const
    {
        for (const Logged& l : g_log)
            if (l.hwnd == hwnd && l.msg == msg)
                return &l;
        return nullptr;
    }
};

}  // namespace

TEST_F(Messages, CreationSendsCreateThenSizeAndFillsTheWorkArea)
{
    HWND hwnd = make(u"a");
    ASSERT_NE(hwnd, nullptr);
    EXPECT_EQ(messages_of(hwnd, {WM_NCCREATE, WM_CREATE, WM_SIZE}), (std::vector<UINT>{WM_NCCREATE, WM_CREATE, WM_SIZE}));
    RECT r;
    GetWindowRect(hwnd, &r);
    RECT work = dt::work_area();
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 26);
    EXPECT_EQ(r.right, 240);
    EXPECT_EQ(r.bottom, 320 - 26);
    EXPECT_EQ(work.bottom, r.bottom);
    EXPECT_EQ(RegisterClassW(nullptr), 0);
    EXPECT_EQ(CreateWindowExW(0, u"no such class", u"", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr), nullptr);
}

TEST_F(Messages, SendInsideAHandlerRunsNestedBeforeTheHandlerGoesOn)
{
    HWND a = make(u"a");
    HWND b = make(u"b");
    g_nested_target = b;
    g_log.clear();
    SendMessageW(a, WM_USER + 1, 0, 0);
    ASSERT_EQ(g_log.size(), 3u);
    EXPECT_EQ(g_log[0].msg, (UINT)WM_USER + 1);
    EXPECT_EQ(g_log[1].hwnd, b);
    EXPECT_EQ(g_log[1].msg, (UINT)WM_USER + 2);
    EXPECT_EQ(g_log[2].msg, (UINT)WM_USER + 3);
}

TEST_F(Messages, ActivationTellsTheLosingWindowFirst)
{
    HWND a = make(u"a");
    HWND b = make(u"b");
    ShowWindow(a, SW_SHOWNORMAL);
    const Logged* first = find(a, WM_ACTIVATE);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(LOWORD(first->wParam), WA_ACTIVE);
    g_log.clear();
    ShowWindow(b, SW_SHOWNORMAL);
    size_t lose = g_log.size(), gain = g_log.size();
    for (size_t i = 0; i < g_log.size(); ++i) {
        if (g_log[i].hwnd == a && g_log[i].msg == WM_ACTIVATE)
            lose = i;
        if (g_log[i].hwnd == b && g_log[i].msg == WM_ACTIVATE)
            gain = i;
    }
    ASSERT_LT(lose, g_log.size());
    ASSERT_LT(gain, g_log.size());
    EXPECT_LT(lose, gain);
    EXPECT_EQ(g_log[lose].wParam, (WPARAM)WA_INACTIVE);
    EXPECT_EQ((HWND)g_log[lose].lParam, b);
    EXPECT_EQ((HWND)g_log[gain].lParam, a);
    EXPECT_EQ(GetActiveWindow(), b);
}

TEST_F(Messages, SwitchingAwayReportsZeroAndMinimisingDoesNot)
{
    HWND a = make(u"a");
    ShowWindow(a, SW_SHOWNORMAL);
    // Input is taken when the loop finds nothing posted; the idle hook then lets GetMessageW return.
    dt::on_idle([a] { PostMessageW(a, WM_USER, 0, 0); });
    MSG m;
    g_log.clear();
    dt::switch_away();
    GetMessageW(&m, nullptr, 0, 0);
    const Logged* away = find(a, WM_ACTIVATE);
    ASSERT_NE(away, nullptr);
    EXPECT_EQ(away->wParam, 0u);
    EXPECT_EQ(away->lParam, 0);
    EXPECT_EQ(GetActiveWindow(), nullptr);

    g_log.clear();
    dt::switch_back();
    GetMessageW(&m, nullptr, 0, 0);
    const Logged* back = find(a, WM_ACTIVATE);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(LOWORD(back->wParam), WA_ACTIVE);
    EXPECT_EQ(GetActiveWindow(), a);
    dt::on_idle(nullptr);

    g_log.clear();
    ShowWindow(a, SW_MINIMIZE);
    const Logged* minimised = find(a, WM_ACTIVATE);
    ASSERT_NE(minimised, nullptr);
    EXPECT_EQ(LOWORD(minimised->wParam), WA_INACTIVE);
    EXPECT_NE(minimised->wParam, 0u);
    EXPECT_TRUE(IsIconic(a));
}

TEST_F(Messages, QueueHandsOutPostedThenQuitThenPaintThenTimer)
{
    HWND a = make(u"a");
    ShowWindow(a, SW_SHOWNORMAL);  // leaves the window needing paint
    SetTimer(a, 7, 10, nullptr);
    PostMessageW(a, WM_USER + 5, 0, 0);
    dt::on_idle([] {});
    MSG m;
    ASSERT_TRUE(GetMessageW(&m, nullptr, 0, 0));
    EXPECT_EQ(m.message, (UINT)WM_USER + 5);
    ASSERT_TRUE(GetMessageW(&m, nullptr, 0, 0));
    EXPECT_EQ(m.message, (UINT)WM_PAINT);
    DispatchMessageW(&m);
    ASSERT_TRUE(GetMessageW(&m, nullptr, 0, 0));
    EXPECT_EQ(m.message, (UINT)WM_TIMER);
    EXPECT_EQ(m.wParam, 7u);

    PostMessageW(a, WM_USER + 6, 0, 0);
    PostQuitMessage(3);
    PostMessageW(a, WM_USER + 7, 0, 0);
    ASSERT_TRUE(GetMessageW(&m, nullptr, 0, 0));
    EXPECT_EQ(m.message, (UINT)WM_USER + 6);
    ASSERT_TRUE(GetMessageW(&m, nullptr, 0, 0));
    EXPECT_EQ(m.message, (UINT)WM_USER + 7);
    EXPECT_FALSE(GetMessageW(&m, nullptr, 0, 0));
    EXPECT_EQ(m.message, (UINT)WM_QUIT);
    EXPECT_EQ(m.wParam, 3u);
    dt::on_idle(nullptr);
}

TEST_F(Messages, TimersRepeatAtTheirIntervalAndKilledTimersNever)
{
    HWND a = make(u"a");
    SetTimer(a, 1, 100, nullptr);
    SetTimer(a, 2, 100, nullptr);
    EXPECT_TRUE(KillTimer(a, 2));
    EXPECT_FALSE(KillTimer(a, 2));
    int idles = 0;
    dt::on_idle([&] {
        if (++idles == 1)
            PostMessageW(a, WM_USER, 0, 0);
    });
    MSG m;
    ASSERT_TRUE(GetMessageW(&m, nullptr, 0, 0));
    ASSERT_EQ(m.message, (UINT)WM_USER);
    uint64_t start = dt::virtual_now();
    std::vector<WPARAM> fired;
    while (fired.size() < 3 && GetMessageW(&m, nullptr, 0, 0))
        if (m.message == WM_TIMER)
            fired.push_back(m.wParam);
    EXPECT_EQ(fired, (std::vector<WPARAM>{1, 1, 1}));
    EXPECT_EQ(dt::virtual_now() - start, 300u);
    dt::on_idle(nullptr);
}

TEST_F(Messages, DestroyingTheActiveWindowDeactivatesItBeforeWmDestroy)
{
    HWND a = make(u"a");
    ShowWindow(a, SW_SHOWNORMAL);
    g_log.clear();
    EXPECT_TRUE(DestroyWindow(a));
    std::vector<UINT> seen = messages_of(a, {WM_ACTIVATE, WM_DESTROY, WM_NCDESTROY});
    EXPECT_EQ(seen, (std::vector<UINT>{WM_ACTIVATE, WM_DESTROY, WM_NCDESTROY}));
    EXPECT_FALSE(IsWindow(a));
    EXPECT_EQ(FindWindowW(nullptr, u"a"), nullptr);
    EXPECT_EQ(SendMessageW(a, WM_USER, 0, 0), 0);
    EXPECT_FALSE(DestroyWindow(a));
}

namespace {
LRESULT CALLBACK RefusingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_CREATE)
        return -1;
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}
}  // namespace

TEST_F(Messages, RefusedCreationLeavesNoWindowAndChildrenSitInTheirParent)
{
    WNDCLASSW wc{};
    wc.lpfnWndProc = RefusingProc;
    wc.lpszClassName = u"refuser";
    ASSERT_NE(RegisterClassW(&wc), 0);
    EXPECT_EQ(RegisterClassW(&wc), 0) << "a class name is registered once";
    EXPECT_EQ(CreateWindowExW(0, u"REFUSER", u"r", WS_SYSMENU, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                              CW_USEDEFAULT, nullptr, nullptr, nullptr, nullptr),
              nullptr);
    EXPECT_EQ(FindWindowW(nullptr, u"r"), nullptr);

    HWND parent = make(u"p");
    HWND child = CreateWindowExW(0, u"logger", u"c", WS_CHILD, 10, 20, 30, 40, parent, nullptr, nullptr, nullptr);
    RECT r;
    ASSERT_TRUE(GetWindowRect(child, &r));
    EXPECT_EQ(r.left, 10);
    EXPECT_EQ(r.top, 26 + 20);
    EXPECT_EQ(r.right - r.left, 30);
    DestroyWindow(parent);
    EXPECT_FALSE(IsWindow(child)) << "children go with their parent";
}

TEST_F(Messages, ForegroundRequestForAGoneWindowIsRefusedNotBounced)
{
    HWND a = make(u"a");
    ShowWindow(a, SW_SHOWNORMAL);
    DestroyWindow(a);
    EXPECT_FALSE(SetForegroundWindow(a));
    EXPECT_FALSE(SetForegroundWindow(nullptr));
    EXPECT_FALSE(SetForegroundWindow((HWND)(uintptr_t)0x7FFFFFFF));  // no process owns it
}

namespace {
LRESULT CALLBACK KeepsActivationProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_ACTIVATE)
        return 0;  // never reaches DefWindowProcW
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}
}  // namespace

// The keys come with activation through DefWindowProcW's WM_ACTIVATE, as on Windows: not
// while the window is minimised or when activation leaves it, and not to a window whose
// procedure keeps WM_ACTIVATE to itself.
TEST_F(Messages, DefWindowProcFocusesAWindowThatIsActivatedAndNotMinimised)
{
    HWND a = make(u"a");
    ShowWindow(a, SW_SHOWNORMAL);
    EXPECT_EQ(messages_of(a, {WM_ACTIVATE, WM_SETFOCUS}), (std::vector<UINT>{WM_ACTIVATE, WM_SETFOCUS}));
    struct Case {
        const char* what;
        WORD how;
        bool minimised, focused;
    };
    const Case cases[] = {{"activated", WA_ACTIVE, false, true},
                          {"activated by a tap", WA_CLICKACTIVE, false, true},
                          {"deactivated", WA_INACTIVE, false, false},
                          {"minimised", WA_ACTIVE, true, false}};
    for (const Case& c : cases) {
        if (c.minimised)
            ShowWindow(a, SW_MINIMIZE);
        SetFocus(nullptr);
        DefWindowProcW(a, WM_ACTIVATE, MAKEWPARAM(c.how, c.minimised ? 1 : 0), 0);
        EXPECT_EQ(GetFocus(), c.focused ? a : nullptr) << c.what;
    }

    WNDCLASSW wc{};
    wc.lpfnWndProc = KeepsActivationProc;
    wc.lpszClassName = u"keeper";
    ASSERT_NE(RegisterClassW(&wc), 0);
    HWND keeper = CreateWindowExW(0, u"keeper", u"k", WS_SYSMENU, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                  CW_USEDEFAULT, nullptr, nullptr, nullptr, nullptr);
    ShowWindow(keeper, SW_SHOWNORMAL);
    EXPECT_EQ(GetActiveWindow(), keeper);
    EXPECT_EQ(GetFocus(), nullptr) << "active, but nothing gave it the keys";
}
