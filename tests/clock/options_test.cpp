// The soft keys, the options dialog and the exit confirmation, driven as a person
// drives them on the headless device: taps on the soft keys and controls, keys in
// the dialog and the boxes. Asserted on the settings file's bytes, the rows of the
// notification database, the windows on the screen and the exit code.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <filesystem>

#include <functional>
#include <vector>

#include "clock_run.h"
#include "device_tree.h"
#include "resource.h"
#include "testing.h"
#include "zubo.h"

using namespace tickvane::test;
namespace dt = tickvane::device::testing;

namespace {

class Options : public ::testing::Test {
protected:
    void SetUp() override
    {
        dt::reset();  // the clock reads 2026-12-07 09:05:30
        install_clock_tree();
        g_ignoreNextDeactivate = 0;
    }
    static void tap_centre(HWND hwnd)
    {
        RECT r{};
        ASSERT_TRUE(GetWindowRect(hwnd, &r));
        dt::tap((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }
    static void soft_key(int index)
    {
        RECT r = dt::soft_key_rect(index);
        dt::tap((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }
    static HWND options() { return FindWindowW(nullptr, u"OPTION"); }
    static HWND box(const char16_t* caption) { return FindWindowW(nullptr, caption); }
    static int selection(int id) { return (int)SendMessageW(GetDlgItem(options(), id), CB_GETCURSEL, 0, 0); }
    static void tap_face()
    {
        RECT area = dt::work_area();
        dt::tap(area.right - 10, area.bottom - 10);  // a corner the dialog does not cover
    }
};

Until options_shown() { return shown(u"OPTION"); }
Until options_gone() { return gone(u"OPTION"); }

}  // namespace

TEST_F(Options, SoftKeysShowOptionsLeftAndExitRight)
{
    ClockRun run = run_clock({{clock_shown(), [] {
                                   EXPECT_EQ(dt::soft_key_label(0), u"オプション");
                                   EXPECT_EQ(dt::soft_key_label(1), u"プログラムの終了");
                                   EXPECT_TRUE(dt::soft_key_enabled(0));
                                   EXPECT_TRUE(dt::soft_key_enabled(1));
                                   EXPECT_NE(g_hMenu, nullptr);
                               }}});
    EXPECT_EQ(run.exit_code, 0);
}

TEST_F(Options, OpeningWithoutSettingsSelectsZeroAndDoesNotDismiss)
{
    ClockRun run = run_clock({
        {clock_shown(), [] { soft_key(0); }},
        {options_shown(),
         [] {
             EXPECT_EQ(selection(IDC_MINUTES), 0);
             EXPECT_EQ(selection(IDC_SECONDS), 0);
             EXPECT_EQ(g_ignoreNextDeactivate, 0) << "the dialog's own deactivation used the flag";
             EXPECT_FALSE(IsWindowEnabled(clock_window())) << "the clock waits behind a modal dialog";
             EXPECT_EQ(dt::soft_key_label(0), u"オプション");
             EXPECT_FALSE(dt::soft_key_enabled(0)) << "the soft keys rest while the dialog is up";
             tap_face();  // the clock is disabled: a tap on it does nothing
             dt::press_key(VK_ESCAPE);
         }},
        {options_gone(), [] { EXPECT_EQ(GetActiveWindow(), clock_window()) << "the clock takes input again"; }},
    });
    EXPECT_EQ(run.exit_code, 0);
    EXPECT_TRUE(dt::pending().empty()) << "neither the dialog nor the tap on the disabled clock dismissed it";
}

TEST_F(Options, ApplyStoresThePositionsAndKeepsTheDialogOpen)
{
    write_settings("2 3");
    ClockRun run = run_clock({
        {clock_shown(), [] { dt::press_key(VK_F1); }},  // the left soft key
        {options_shown(),
         [] {
             EXPECT_EQ(selection(IDC_MINUTES), 2);
             EXPECT_EQ(selection(IDC_SECONDS), 3);
             // The focus starts on the first tab stop (Apply); Tab twice reaches the minutes.
             dt::press_key(VK_TAB);
             dt::press_key(VK_TAB);
             dt::press_key(VK_DOWN);  // 3 -> 5
             dt::press_key(VK_TAB);
             dt::press_key(VK_UP);      // 45 -> 30
             dt::press_key(VK_RETURN);  // the default button, Apply
         }},
        {settled(),
         [] {
             EXPECT_EQ(read_settings(), "3 2");
             ASSERT_NE(options(), nullptr) << "Apply leaves the dialog open";
             dt::press_key(VK_TAB, true);  // back to the minutes
             dt::press_key(VK_HOME);       // "0"
             tap_centre(GetDlgItem(options(), IDOK));
         }},
        {settled(),
         [] {
             EXPECT_EQ(read_settings(), "0 2") << "a second Apply writes again";
             dt::press_key(VK_TAB, true);  // the tap left the focus on Apply: back over the seconds
             dt::press_key(VK_TAB, true);  // to the minutes
             dt::press_key(VK_DOWN);       // "1"
             tap_centre(GetDlgItem(options(), IDOK));
         }},
        {settled(),
         [] {
             EXPECT_EQ(read_settings(), "1 2");
             tap_centre(GetDlgItem(options(), IDCANCEL));
         }},
        {options_gone(), [] {}},  // Close closes
    });
    EXPECT_EQ(run.exit_code, 0);
}

TEST_F(Options, ChoosingFromTheDroppedListWithTaps)
{
    ClockRun run = run_clock({
        {clock_shown(), [] { soft_key(0); }},
        {options_shown(), [] { tap_centre(GetDlgItem(options(), IDC_SECONDS)); }},
        {until("the seconds list to drop", [] { return dt::top_window() != options(); }),
         [] {
             RECT r{};
             GetWindowRect(dt::top_window(), &r);
             int item = (r.bottom - r.top) / 4;
             dt::tap((r.left + r.right) / 2, r.top + item * 2 + item / 2);  // "30"
         }},
        {until("choosing to close the list", [] { return dt::top_window() == options(); }),
         [] {
             EXPECT_EQ(selection(IDC_SECONDS), 2);
             tap_centre(GetDlgItem(options(), IDOK));
         }},
        {settled(), [] { EXPECT_EQ(read_settings(), "0 2"); }},
    });
    EXPECT_EQ(run.exit_code, 0);
}

TEST_F(Options, ZeroAndZeroIsRefusedAndTheNextSwitchAwayAbsorbed)
{
    write_settings("1 1");
    ClockRun run = run_clock({
        {clock_shown(), [] { soft_key(0); }},
        {options_shown(),
         [] {
             dt::press_key(VK_TAB);
             dt::press_key(VK_TAB);
             dt::press_key(VK_UP);  // minutes "0"
             dt::press_key(VK_TAB);
             dt::press_key(VK_UP);  // seconds "0"
             tap_centre(GetDlgItem(options(), IDOK));
         }},
        {shown(u"エラー"),  // zero minutes and zero seconds are refused with a box
         [] {
             EXPECT_EQ(GetActiveWindow(), box(u"エラー"));
             EXPECT_FALSE(IsWindowEnabled(options())) << "the box is modal to the dialog";
             EXPECT_EQ(read_settings(), "1 1") << "nothing is written";
             dt::press_key(VK_RETURN);
         }},
        {gone(u"エラー"),
         [] {
             EXPECT_EQ(GetActiveWindow(), options()) << "the dialog is back in front";
             EXPECT_EQ(g_minuteChoice, 1) << "the remembered choices are put back";
             EXPECT_EQ(g_secondChoice, 1);
             EXPECT_EQ(g_ignoreNextDeactivate, 1) << "the clock was already inactive: the flag stays";
             dt::press_key(VK_ESCAPE);
         }},
        {options_gone(), dt::switch_away},
        {until("the clock to be inactive", [] { return GetActiveWindow() == nullptr; }),
         [] {
             EXPECT_NE(clock_window(), nullptr) << "the announced deactivation is absorbed";
             EXPECT_EQ(g_ignoreNextDeactivate, 0);
             dt::switch_back();
         }},
        {clock_shown(), dt::switch_away},  // this one ends the appearance
    });
    EXPECT_EQ(run.exit_code, 0);
    EXPECT_TRUE(run.ended_itself);
    auto rows = dt::pending();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].due, "2026-12-07 09:06:45") << "1 minute 15 seconds, as still stored";
}

// Apply when nothing can be stored: the lists go back to what the file holds, and a
// box says so (announced, like the clock's other boxes).
TEST_F(Options, ApplyThatStoresNothingSaysSoAndShowsWhatIsStored)
{
    struct Case {
        const char* what;
        std::function<void()> break_file;
        std::function<void()> mend_file;
        int minutes, seconds;  // what the lists show afterwards
    };
    rlimit unlimited{};
    getrlimit(RLIMIT_FSIZE, &unlimited);
    const Case cases[] = {
        {"no byte may be written",
         [] {
             rlimit none{0, RLIM_INFINITY};
             setrlimit(RLIMIT_FSIZE, &none);
         },
         [&] { setrlimit(RLIMIT_FSIZE, &unlimited); }, 2, 1},
        {"a folder where the file belongs",
         [] {
             std::filesystem::remove(settings_path());
             std::filesystem::create_directory(settings_path());
         },
         [] {}, 0, 0},
    };
    signal(SIGXFSZ, SIG_IGN);  // a refused write fails instead of ending the test
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetUp();
        write_settings("2 1");
        ClockRun run = run_clock({
            {clock_shown(), [] { dt::press_key(VK_F1); }},
            {options_shown(),
             [&] {
                 c.break_file();
                 dt::press_key(VK_TAB);
                 dt::press_key(VK_TAB);
                 dt::press_key(VK_DOWN);  // 3 -> 5
                 dt::press_key(VK_TAB);
                 dt::press_key(VK_DOWN);  // 15 -> 30
                 tap_centre(GetDlgItem(options(), IDOK));
             }},
            {shown(u"エラー"),  // a failed save is told
             [&] {
                 c.mend_file();
                 EXPECT_EQ(selection(IDC_MINUTES), c.minutes) << "the lists show what is stored";
                 EXPECT_EQ(selection(IDC_SECONDS), c.seconds);
                 EXPECT_EQ(g_ignoreNextDeactivate, 1) << "the box was announced";
                 dt::press_key(VK_RETURN);
             }},
            {gone(u"エラー"), [] { EXPECT_NE(options(), nullptr) << "the dialog stays"; }},
        });
        EXPECT_EQ(run.exit_code, 0);
    }
    signal(SIGXFSZ, SIG_DFL);
    EXPECT_TRUE(std::filesystem::is_directory(settings_path())) << "the folder stays a folder";
}

TEST_F(Options, AListWithNoSelectionKeepsItsStoredPosition)
{
    write_settings("7 2");  // minutes position 7 lies outside the five-item list
    ClockRun run = run_clock({
        {clock_shown(), [] { soft_key(0); }},
        {options_shown(),
         [] {
             EXPECT_EQ(selection(IDC_MINUTES), CB_ERR);
             dt::press_key(VK_TAB);
             dt::press_key(VK_TAB);
             dt::press_key(VK_TAB);
             dt::press_key(VK_DOWN);  // seconds 30 -> 45
             dt::press_key(VK_RETURN);
         }},
        {settled(), [] { EXPECT_EQ(read_settings(), "7 3") << "the other choice is stored, and no -1"; }},
    });
    EXPECT_EQ(run.exit_code, 0);
}

TEST_F(Options, TheClockKeepsRefreshingBehindTheDialog)
{
    // The clock's own pixels, also where the dialog covers them on the screen.
    auto client = [] {
        std::vector<COLORREF> px;
        HWND clock = clock_window();
        RECT r{};
        GetClientRect(clock, &r);
        HDC dc = GetDC(clock);
        for (int y = 0; y < r.bottom; y += 2)
            for (int x = 0; x < r.right; x += 2)
                px.push_back(GetPixel(dc, x, y));
        ReleaseDC(clock, dc);
        return px;
    };
    std::vector<COLORREF> before;
    ClockRun run = run_clock({
        {clock_shown(), [] { soft_key(0); }},
        {options_shown(),
         [&] {
             before = client();
             dt::set_local_time(SYSTEMTIME{2027, 3, 3, 17, 18, 47, 12, 0});
         }},
        // A tick of the refresh timer, dispatched by the dialog's loop.
        {until("the clock to repaint", [&] { return client() != before; }),
         [&] {
             ASSERT_NE(options(), nullptr) << "still open";
             std::vector<COLORREF> after = client();
             ASSERT_EQ(after.size(), before.size());
             size_t changed = 0;
             for (size_t i = 0; i < after.size(); ++i)
                 changed += after[i] != before[i];
             EXPECT_GT(changed, after.size() / 50) << "the date and all four large digits were redrawn";
         }},
    });
    EXPECT_EQ(run.exit_code, 0);
}

TEST_F(Options, ConfirmedExitEndsWithoutANewRegistration)
{
    HMENU menu = nullptr;
    ClockRun run = run_clock({
        {clock_shown(),
         [&] {
             menu = g_hMenu;
             soft_key(1);
         }},
        {shown(u"確認"),  // the exit key asks first
         [] {
             EXPECT_EQ(g_ignoreNextDeactivate, 0) << "the box's own deactivation used the flag";
             dt::press_key(VK_RETURN);  // OK is the default
         }},
    });
    EXPECT_EQ(run.exit_code, 0);
    EXPECT_TRUE(run.ended_itself) << "the program ended on OK";
    EXPECT_TRUE(dt::pending().empty()) << "no next appearance is arranged";
    EXPECT_EQ(g_hMenu, nullptr);
    EXPECT_FALSE(IsMenu(menu)) << "the menu was released";
    end_clock();  // a teardown after the exit finds nothing left to release
    EXPECT_EQ(g_hMenu, nullptr);
}

TEST_F(Options, CancelledExitKeepsTheClockAndATapStillDismisses)
{
    ClockRun run = run_clock({
        {clock_shown(), [] { dt::press_key(VK_F2); }},  // the right soft key
        {shown(u"確認"), [] { dt::press_key(VK_ESCAPE); }},
        {gone(u"確認"),
         [] {
             EXPECT_EQ(GetActiveWindow(), clock_window());
             EXPECT_EQ(g_ignoreNextDeactivate, 0);
             EXPECT_TRUE(dt::pending().empty());
             tap_face();
         }},
    });
    EXPECT_EQ(run.exit_code, 0);
    EXPECT_TRUE(run.ended_itself) << "the tap ended the clock";
    EXPECT_EQ(dt::pending().size(), 1u);
}

TEST_F(Options, WithoutAMenuBarTheClockSaysSoAndRunsWithoutSoftKeys)
{
    dt::refuse_menu_bars(true);
    ClockRun run = run_clock({
        {shown(u"dame"), [] { dt::press_key(VK_RETURN); }},  // told while the window is made
        {clock_shown(),
         [] {
             EXPECT_EQ(dt::soft_key_label(0), u"");
             EXPECT_EQ(dt::soft_key_label(1), u"");
             dt::press_key(VK_F1);  // nothing to press
         }},
        {settled(),
         [] {
             EXPECT_EQ(options(), nullptr);
             tap_face();
         }},
    });
    EXPECT_EQ(run.exit_code, 0);
    EXPECT_TRUE(run.ended_itself);
    EXPECT_EQ(dt::pending().size(), 1u) << "a tap still dismisses the clock";
}

TEST_F(Options, TheDesktopCloseButtonClosesTheDialogAndEndsTheAppearance)
{
    ClockRun run = run_clock({{clock_shown(), [] { soft_key(0); }}, {options_shown(), dt::close_display}});
    EXPECT_EQ(run.exit_code, 0);
    EXPECT_TRUE(run.ended_itself) << "one close ended both the dialog and the clock";
    EXPECT_EQ(dt::pending().size(), 1u) << "as switching away does, it arranges the next appearance";
}

namespace {

// A popup is in view when its frame lies on the screen above the soft keys, its
// buttons inside the work area, and its caption is seen: the close box, a white
// outline 14 pixels wide at the caption's right end, would be hidden under the
// device's title bar.
void expect_in_view(const char16_t* caption, std::initializer_list<int> buttons)
{
    HWND w = FindWindowW(nullptr, caption);
    ASSERT_NE(w, nullptr);
    RECT frame{}, area = dt::work_area();
    GetWindowRect(w, &frame);
    EXPECT_GE(frame.top, 0);
    EXPECT_GE(frame.left, area.left);
    EXPECT_LE(frame.right, area.right);
    EXPECT_LE(frame.bottom, area.bottom);
    int white = 0;
    for (int x = frame.right - 18; x < frame.right - 4; ++x)
        white += dt::screen_pixel(x, frame.top + 4) == 0xFFFFFF;
    EXPECT_EQ(white, 14) << "the caption with its close box is seen";
    for (int id : buttons) {
        RECT b{};
        GetWindowRect(GetDlgItem(w, id), &b);
        EXPECT_TRUE(b.left >= area.left && b.right <= area.right && b.top >= area.top && b.bottom <= area.bottom)
            << "button " << id << " lies inside the work area";
    }
}

}  // namespace

// Turning the handheld moves an open dialog or box back into view, and a dialog
// opened in landscape (taller than the work area there) shows its caption.
TEST_F(Options, TurningTheScreenKeepsTheDialogAndEachBoxInView)
{
    auto rotate = [] { dt::rotate(); };
    auto escape = [] { dt::press_key(VK_ESCAPE); };
    Until landscape = until("the screen to turn", [] { return dt::screen_width() == 320; });
    Until portrait = until("the screen to turn back", [] { return dt::screen_width() == 240; });
    auto in_view = [](const char16_t* caption, std::function<void()> then) {
        return [caption, then] {
            expect_in_view(caption, {IDOK, IDCANCEL});
            then();
        };
    };
    struct Case {
        const char* name;
        std::vector<Step> steps;
    } cases[] = {
        {"options turned there and back",
         {{clock_shown(), [] { soft_key(0); }},
          {options_shown(), rotate},
          {landscape, in_view(u"OPTION", rotate)},
          {portrait, in_view(u"OPTION", escape)}}},
        {"options opened in landscape",
         {{clock_shown(), rotate}, {landscape, [] { soft_key(0); }}, {options_shown(), in_view(u"OPTION", escape)}}},
        {"exit box",
         {{clock_shown(), [] { soft_key(1); }},
          {shown(u"確認"), rotate},
          {landscape, in_view(u"確認", rotate)},
          {portrait, in_view(u"確認", escape)}}},
        {"error box over the dialog",
         {{clock_shown(), [] { soft_key(0); }},
          {options_shown(), [] { tap_centre(GetDlgItem(options(), IDOK)); }},
          {shown(u"エラー"), rotate},
          {landscape,
           [] {
               expect_in_view(u"エラー", {IDOK});
               expect_in_view(u"OPTION", {IDOK, IDCANCEL});
               dt::press_key(VK_RETURN);
           }},
          {gone(u"エラー"), escape}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        EXPECT_EQ(run_clock(c.steps).exit_code, 0);
    }
}
