// The soft-key bar as a person meets it: the clock's two keys under its window,
// taps and F1/F2 that send their commands, presses that slide away, keys that a
// disabled owner or a dialog in front makes unusable, and what the bar looks like.
#include <gtest/gtest.h>

#include <vector>

#include "display/display.h"
#include "loop_script.h"
#include "menus/menu_template.h"
#include "menus/menus.h"
#include "message_sequence.h"
#include "resource.h"
#include "template_bytes.h"
#include "testing.h"
#include "win32.h"

namespace dt = tickvane::device::testing;
namespace dev = tickvane::device;

namespace {

using namespace tickvane::test;

class SoftKeys : public ::testing::Test {
protected:
    void SetUp() override
    {
        dt::reset();
        message_log().forget();
        WNDCLASSW wc{};
        wc.lpfnWndProc = recording_proc;
        wc.lpszClassName = u"recorder";
        ASSERT_NE(RegisterClassW(&wc), 0);
        main = make(u"clock");
        message_log().name(main, "clock");
        ShowWindow(main, SW_SHOWNORMAL);
        menu = LoadMenuW(dt::instance(), MAKEINTRESOURCEW(IDR_MAINMENU));
        ASSERT_NE(menu, nullptr);
    }
    void TearDown() override { dt::on_idle(nullptr); }

    HWND make(const char16_t* title, HWND owner = nullptr)
    {
        return CreateWindowExW(0, u"recorder", title, WS_SYSMENU, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                               CW_USEDEFAULT, owner, nullptr, dt::instance(), nullptr);
    }
    // The record the clock fills in for its menu bar.
    static SHMENUBARINFO bar_info(HWND owner, HMENU m)
    {
        SHMENUBARINFO info{};
        info.cbSize = sizeof(SHMENUBARINFO);
        info.hwndParent = owner;
        info.dwFlags = SHCMBF_HMENU;
        info.nToolBarId = (UINT)(uintptr_t)m;
        info.hInstRes = dt::instance();
        return info;
    }
    BOOL create_bar(HWND owner, HMENU m)
    {
        SHMENUBARINFO info = bar_info(owner, m);
        return SHCreateMenuBar(&info);
    }
    static void pointer(tickvane::display::EventKind kind, POINT p)
    {
        using K = tickvane::display::EventKind;
        (kind == K::PointerDown ? dt::pointer_down
         : kind == K::PointerUp ? dt::pointer_up
                                : dt::pointer_move)(p.x, p.y);
    }
    static POINT centre(int key)
    {
        RECT r = dt::soft_key_rect(key);
        return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    static void tap_key(int key)
    {
        POINT p = centre(key);
        dt::tap(p.x, p.y);
        pump();
    }
    // Every WM_COMMAND any window got: these, to the clock's window, from no control.
    ::testing::AssertionResult commands_are(std::vector<WPARAM> commands) const
    {
        std::vector<Expect> expected;
        for (WPARAM w : commands)
            expected.push_back({main, WM_COMMAND, w, 0});
        return sequence_is(message_log().all(), {WM_COMMAND}, expected);
    }
    static std::vector<uint32_t> key_pixels(int key)
    {
        RECT r = dt::soft_key_rect(key);
        std::vector<uint32_t> px;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                px.push_back(dt::screen_pixel(x, y));
        return px;
    }
    // Pixels bright in every channel: white label text.
    static int white_pixels(int key)
    {
        int n = 0;
        for (uint32_t p : key_pixels(key))
            n += (p >> 16 & 0xFF) > 0xD0 && (p >> 8 & 0xFF) > 0xD0 && (p & 0xFF) > 0xD0;
        return n;
    }

    HWND main = nullptr;
    HMENU menu = nullptr;
};

const WPARAM kOption = MAKEWPARAM(IDM_OPTION, 0);
const WPARAM kExit = MAKEWPARAM(IDM_EXIT, 0);

}  // namespace

TEST_F(SoftKeys, CreationRefusesWhatCannotMakeABar)
{
    EXPECT_FALSE(SHCreateMenuBar(nullptr));
    SHMENUBARINFO info = bar_info(main, menu);
    info.cbSize = 36 + 1;
    EXPECT_FALSE(SHCreateMenuBar(&info));
    info = bar_info((HWND)(uintptr_t)0x7777, menu);
    EXPECT_FALSE(SHCreateMenuBar(&info));
    info = bar_info(main, menu);
    info.dwFlags = 0;  // a toolbar resource id: this device has no toolbars
    info.nToolBarId = 101;
    EXPECT_FALSE(SHCreateMenuBar(&info));
    dt::refuse_menu_bars(true);
    EXPECT_FALSE(create_bar(main, menu));
    dt::refuse_menu_bars(false);
    HWND gone = make(u"gone");
    DestroyWindow(gone);
    EXPECT_FALSE(create_bar(gone, menu));
    HMENU dead = LoadMenuW(dt::instance(), MAKEINTRESOURCEW(IDR_MAINMENU));
    DestroyMenu(dead);
    EXPECT_FALSE(create_bar(main, dead));
    EXPECT_EQ(dt::soft_key_label(0), u"");  // no failure left a bar behind

    info = bar_info(main, menu);
    ASSERT_TRUE(SHCreateMenuBar(&info));
    EXPECT_NE(info.hwndMB, nullptr);
    EXPECT_FALSE(IsWindow(info.hwndMB));  // an opaque handle, not a window
    EXPECT_EQ(dt::soft_key_label(0), u"オプション");
    EXPECT_EQ(dt::soft_key_label(1), u"プログラムの終了");
    EXPECT_TRUE(dt::soft_key_enabled(0));
    EXPECT_TRUE(dt::soft_key_enabled(1));

    SHMENUBARINFO empty = bar_info(main, nullptr);
    empty.dwFlags = SHCMBF_EMPTYBAR;
    ASSERT_TRUE(SHCreateMenuBar(&empty));  // replaces the first bar
    EXPECT_NE(empty.hwndMB, info.hwndMB);
    EXPECT_EQ(dt::soft_key_label(0), u"");
    EXPECT_FALSE(dt::soft_key_enabled(0));
}

TEST_F(SoftKeys, TapsAndFunctionKeysSendTheCommandsEvenAfterTheMenuIsDestroyed)
{
    ASSERT_TRUE(create_bar(main, menu));
    ASSERT_TRUE(DestroyMenu(menu));  // the clock keeps no menu once the bar has it
    EXPECT_EQ(dt::soft_key_label(1), u"プログラムの終了");
    tap_key(0);
    tap_key(1);
    dt::press_key(VK_F2);
    dt::press_key(VK_F1);
    dt::press_key(VK_F4);
    pump();
    EXPECT_TRUE(commands_are({kOption, kExit, kExit, kOption}));
    // Other keys and taps above the bar still reach the window; the bar's own do not.
    dt::tap(100, 100);
    pump();
    EXPECT_TRUE(sequence_is(message_log().all(), {WM_KEYDOWN, WM_LBUTTONDOWN},
                            {{main, WM_KEYDOWN, VK_F4}, {main, WM_LBUTTONDOWN}}));
    EXPECT_TRUE(commands_are({kOption, kExit, kExit, kOption}));
}

TEST_F(SoftKeys, APressThatSlidesOffItsKeySendsNothingUnlessItComesBack)
{
    ASSERT_TRUE(create_bar(main, menu));
    using K = tickvane::display::EventKind;
    pointer(K::PointerDown, centre(0));
    pointer(K::PointerMove, centre(1));
    pointer(K::PointerUp, centre(1));  // let go on the other key
    pointer(K::PointerDown, centre(1));
    pointer(K::PointerMove, POINT{100, 100});
    pointer(K::PointerUp, POINT{100, 100});  // let go over the window
    pump();
    EXPECT_TRUE(commands_are({}));

    pointer(K::PointerDown, centre(1));
    pointer(K::PointerMove, centre(0));
    pointer(K::PointerMove, centre(1));
    pointer(K::PointerUp, centre(1));
    pump();
    EXPECT_TRUE(commands_are({kExit}));
}

TEST_F(SoftKeys, ADisabledOwnerGetsNothingAndItsLabelsTurnGrey)
{
    ASSERT_TRUE(create_bar(main, menu));
    EXPECT_GT(white_pixels(0), 20);
    EXPECT_GT(white_pixels(1), 20);
    std::vector<uint32_t> enabled_left = key_pixels(0);

    EnableWindow(main, FALSE);
    EXPECT_FALSE(dt::soft_key_enabled(0));
    EXPECT_FALSE(dt::soft_key_enabled(1));
    EXPECT_EQ(dt::soft_key_label(0), u"オプション");  // still shown
    tap_key(0);
    dt::press_key(VK_F2);
    pump();
    EXPECT_TRUE(commands_are({}));
    EXPECT_EQ(white_pixels(0), 0);
    EXPECT_EQ(white_pixels(1), 0);
    EXPECT_NE(key_pixels(0), enabled_left);  // grey text, not none

    EnableWindow(main, TRUE);
    EXPECT_EQ(key_pixels(0), enabled_left);
}

TEST_F(SoftKeys, TheForegroundWindowDecidesWhichBarShows)
{
    ASSERT_TRUE(create_bar(main, menu));
    HWND dialog = make(u"dialog", main);  // a dialog the clock's window owns
    ShowWindow(dialog, SW_SHOWNORMAL);
    ASSERT_EQ(GetActiveWindow(), dialog);
    EXPECT_EQ(dt::soft_key_label(0), u"オプション");  // the owner's bar, unusable
    EXPECT_FALSE(dt::soft_key_enabled(0));
    EXPECT_FALSE(dt::soft_key_enabled(1));
    tap_key(0);
    dt::press_key(VK_F1);
    pump();
    EXPECT_TRUE(commands_are({}));

    HWND other = make(u"other");  // owned by nobody and without a bar
    ShowWindow(other, SW_SHOWNORMAL);
    EXPECT_EQ(dt::soft_key_label(0), u"");
    EXPECT_EQ(dt::soft_key_label(1), u"");

    DestroyWindow(other);
    DestroyWindow(dialog);
    SetForegroundWindow(main);
    ASSERT_EQ(GetActiveWindow(), main);
    EXPECT_TRUE(dt::soft_key_enabled(0));
    dt::switch_away();  // the desktop window lost the focus: the last active window's bar stays
    pump();
    EXPECT_EQ(GetActiveWindow(), nullptr);
    EXPECT_EQ(dt::soft_key_label(1), u"プログラムの終了");

    DestroyWindow(main);  // its bar goes with it
    EXPECT_EQ(dt::soft_key_label(0), u"");
}

TEST_F(SoftKeys, OnlyTheFirstTwoItemsShowAndPopUpsOrGreyedItemsCannotBePressed)
{
    TemplateBytes t;
    t.u16(0).u16(0);
    t.u16(MF_POPUP).str(u"&Pop").u16(MF_END).u16(7).str(u"in");
    t.u16(MF_GRAYED).u16(8).str(u"A&&B\tF2");
    t.u16(MF_END).u16(9).str(u"Third");
    std::optional<dev::Menu> parsed = dev::parse_menu_template(t.b.data(), t.b.size());
    ASSERT_TRUE(parsed.has_value());
    HMENU three = dev::add_menu(std::move(*parsed));
    ASSERT_TRUE(create_bar(main, three));
    EXPECT_EQ(dt::soft_key_label(0), u"Pop");
    EXPECT_EQ(dt::soft_key_label(1), u"A&B");
    EXPECT_FALSE(dt::soft_key_enabled(0));
    EXPECT_FALSE(dt::soft_key_enabled(1));
    tap_key(0);
    tap_key(1);
    dt::press_key(VK_F1);
    pump();
    EXPECT_TRUE(commands_are({}));
}

TEST_F(SoftKeys, HoldingAKeyLightsOnlyThatKeyUntilItIsLetGo)
{
    ASSERT_TRUE(create_bar(main, menu));
    std::vector<uint32_t> left = key_pixels(0), right = key_pixels(1);
    using K = tickvane::display::EventKind;
    pointer(K::PointerDown, centre(0));
    pump();
    EXPECT_NE(key_pixels(0), left);
    EXPECT_EQ(key_pixels(1), right);
    pointer(K::PointerMove, POINT{100, 100});  // slid off: no longer lit
    pump();
    EXPECT_EQ(key_pixels(0), left);
    pointer(K::PointerMove, centre(0));
    pump();
    EXPECT_NE(key_pixels(0), left);
    pointer(K::PointerUp, centre(0));
    pump();
    EXPECT_EQ(key_pixels(0), left);
    EXPECT_TRUE(commands_are({kOption}));
}

TEST_F(SoftKeys, LandscapeSplitsTheWiderBarInHalves)
{
    ASSERT_TRUE(create_bar(main, menu));
    dt::rotate();
    pump();
    ASSERT_EQ(dt::screen_width(), 320);
    RECT left = dt::soft_key_rect(0), right = dt::soft_key_rect(1);
    EXPECT_EQ(left.left, 0);
    EXPECT_EQ(left.right, 160);
    EXPECT_EQ(right.right, 320);
    EXPECT_EQ(left.bottom, 240);
    EXPECT_EQ(left.top, 240 - 26);
    EXPECT_GT(white_pixels(0), 20);
    EXPECT_GT(white_pixels(1), 20);
    tap_key(1);
    EXPECT_TRUE(commands_are({kExit}));
}
