// The two menu-bar commands of the Windows clock under Wine: the options dialog
// driven by keys, and the exit confirmation.
#include "clock_under_wine.h"
#include "drawn_text.h"

#include <chrono>
#include <thread>

using namespace tickvane::wine;
using std::chrono::seconds;

namespace {

constexpr const char* kPinned = "2024-06-01 09:05:37";

class MenuUnderWine : public ClockUnderWine {};

// The soft keys and the dialog's buttons in Japanese, from the font the prefix links to
// the faces of Wine's menus and dialogs; they have none of these characters themselves.
TEST_F(MenuUnderWine, TheJapaneseTextsAreDrawn)
{
    ASSERT_TRUE(start(kPinned));
    EXPECT_EQ(real_glyphs_in(capture_screen(), menu_bar()), "") << "オプション, プログラムの終了";
    click_options_item();
    ASSERT_TRUE(window_shown("^OPTION$", seconds(10)));
    std::optional<Box> dialog = window_box("^OPTION$");
    ASSERT_TRUE(dialog.has_value());
    save_screen("dialog");
    // The buttons where zubo.rc puts them in the dialog's 136 x 108 units; the middle of
    // each, inside its frame and its focus rectangle.
    struct Button {
        const char* text;
        int left, right;
    };
    for (Button b : {Button{"適用", 7, 57}, Button{"閉じる", 71, 121}}) {
        int x = dialog->x + dialog->width * b.left / 136, width = dialog->width * (b.right - b.left) / 136;
        int y = dialog->y + dialog->height * 87 / 108, height = dialog->height * 14 / 108;
        Box text{b.text, x + width / 5, y + height / 4, width * 3 / 5, height / 2};
        // The dialog's window shows before Wine has painted its buttons.
        std::string last = real_glyphs_in(capture_screen(), text);
        for (auto until = std::chrono::steady_clock::now() + seconds(10);
             !last.empty() && std::chrono::steady_clock::now() < until; std::this_thread::sleep_for(milliseconds(200)))
            last = real_glyphs_in(capture_screen(), text);
        EXPECT_EQ(last, "");
    }
}

TEST_F(MenuUnderWine, OptionsStoresTheChoicesRefusesZeroAndCloses)
{
    ASSERT_TRUE(start(kPinned));
    click_options_item();
    ASSERT_TRUE(window_shown("^OPTION$", seconds(10))) << "the options item opened no dialog";
    save_screen("dialog");

    keys({"Tab", "Tab", "Down", "Tab", "Down", "Return"});  // Apply is the first tab stop; minutes 1, seconds 15
    EXPECT_TRUE(window_shown("^OPTION$", seconds(0))) << "Apply leaves the dialog open";
    keys({"shift+Tab", "Home", "Tab", "Home", "Return"});  // 0 and 0
    EXPECT_TRUE(window_shown("^エラー$", seconds(10))) << "0 minutes 0 seconds raised no error box";
    save_screen("error-box");
    keys({"Return"});
    EXPECT_TRUE(window_gone("^エラー$", seconds(10)));
    EXPECT_EQ(settings(), "1 1") << "the first Apply is stored, the refused one is not";

    keys({"Escape"});
    EXPECT_TRUE(window_gone("^OPTION$", seconds(10))) << "Escape did not close the dialog";
    EXPECT_FALSE(exit_code(seconds(0)).has_value()) << "closing the dialog ended the clock";
    EXPECT_EQ(face_within(seconds(5)), "") << "the face shows again where the dialog stood";
    save_screen("closed");
}

TEST_F(MenuUnderWine, AfterTheOptionsDialogTheClockStillAnswersItsMenu)
{
    ASSERT_TRUE(start(kPinned));
    click_options_item();
    ASSERT_TRUE(window_shown("^OPTION$", seconds(10)));
    keys({"Escape"});
    ASSERT_TRUE(window_gone("^OPTION$", seconds(10)));

    click_options_item();
    EXPECT_TRUE(window_shown("^OPTION$", seconds(10))) << "the clock's window no longer takes clicks";
}

TEST_F(MenuUnderWine, ExitAsksAndEndsWithoutSchedulingANextLaunch)
{
    ASSERT_TRUE(start(kPinned));
    click_exit_item();
    ASSERT_TRUE(window_shown("^確認$", seconds(10))) << "the exit item asked nothing";
    save_screen("confirmation");
    keys({"Escape"});  // Cancel
    ASSERT_TRUE(window_gone("^確認$", seconds(10)));
    EXPECT_FALSE(exit_code(seconds(1)).has_value()) << "Cancel ended the clock";

    click_exit_item();
    ASSERT_TRUE(window_shown("^確認$", seconds(10)));
    keys({"Return"});  // OK
    std::optional<int> code = exit_code(seconds(15));
    ASSERT_TRUE(code.has_value()) << "the clock still runs after OK";
    EXPECT_EQ(*code, 0);
    EXPECT_EQ(jobs(), std::vector<std::string>{}) << "the exit item schedules no next launch";
}

}  // namespace
