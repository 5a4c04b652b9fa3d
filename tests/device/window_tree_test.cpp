// The window tree's answers (children in tab order, owned windows, neighbours) as windows
// come and go, and why the message loop's wait ends.
#include <gtest/gtest.h>

#include <vector>

#include "testing.h"
#include "win32.h"
#include "wm/event_wait.h"
#include "wm/window_queries.h"

namespace dt = tickvane::device::testing;
namespace dev = tickvane::device;

namespace {

LRESULT CALLBACK PlainProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

HWND make(DWORD style, HWND parent)
{
    return CreateWindowExW(0, u"plain", u"", style, 0, 0, 50, 20, parent, nullptr, dt::instance(), nullptr);
}

void register_plain()
{
    WNDCLASSW wc{};
    wc.lpfnWndProc = PlainProc;
    wc.lpszClassName = u"plain";
    ASSERT_NE(RegisterClassW(&wc), 0);
}

TEST(WindowTree, ChildrenAndOwnedWindowsFollowCreationAndDestruction)
{
    dt::reset();
    register_plain();
    HWND top = make(WS_CAPTION, nullptr);
    HWND a = make(WS_CHILD, top), b = make(WS_CHILD, top), c = make(WS_CHILD, top);
    HWND inner = make(WS_CHILD, b);
    HWND popup = make(WS_POPUP, inner);  // owned by the top-level window that holds `inner`
    using List = std::vector<HWND>;

    EXPECT_EQ(dev::children_of(top), (List{a, b, c}));
    EXPECT_EQ(dev::owned_by(top), (List{popup}));
    EXPECT_EQ(dev::top_level_window(inner), top);
    EXPECT_EQ(dev::parent_window(popup), nullptr);
    EXPECT_EQ(GetParent(popup), top);
    struct Case {
        HWND from;
        bool previous;
        HWND expected;
    };
    for (Case k : {Case{a, false, b}, Case{c, false, nullptr}, Case{a, true, nullptr}, Case{c, true, b},
                   Case{inner, false, nullptr}, Case{top, false, nullptr}})
        EXPECT_EQ(dev::next_sibling(k.from, k.previous), k.expected);

    ASSERT_TRUE(DestroyWindow(b));
    EXPECT_FALSE(IsWindow(inner));
    HWND d = make(WS_CHILD, top);
    EXPECT_EQ(dev::children_of(top), (List{a, c, d}));
    EXPECT_EQ(dev::next_sibling(a, false), c);
    EXPECT_EQ(GetWindow(top, GW_CHILD), a);
    ASSERT_TRUE(DestroyWindow(popup));
    EXPECT_TRUE(dev::owned_by(top).empty());
    ASSERT_TRUE(DestroyWindow(top));
    EXPECT_TRUE(dev::children_of(top).empty());
    EXPECT_FALSE(IsWindow(a) || IsWindow(d));
}

TEST(EventWait, SaysWhyTheWaitEnded)
{
    dt::reset();  // virtual time
    register_plain();
    HWND w = make(WS_CAPTION, nullptr);
    struct Case {
        const char* what;
        void (*before)(HWND);
        int timeout;
        dev::WakeReason expected;
        uint64_t advanced_ms;
    };
    for (Case k : {Case{"posted", [](HWND to) { PostMessageW(to, WM_USER, 0, 0); }, 500, dev::WakeReason::Woken, 0},
                   Case{"tapped", [](HWND) { dt::pointer_down(5, 40); }, 500, dev::WakeReason::Woken, 0},
                   Case{"timeout", [](HWND) {}, 500, dev::WakeReason::VirtualTime, 500},
                   Case{"nothing", [](HWND) {}, -1, dev::WakeReason::NothingLeft, 0}}) {
        dev::pump_events();
        uint64_t start = dt::virtual_now();
        k.before(w);
        EXPECT_EQ(dev::wait_for_events(k.timeout), k.expected) << k.what;
        EXPECT_EQ(dt::virtual_now() - start, k.advanced_ms) << k.what;
    }
}

}  // namespace
