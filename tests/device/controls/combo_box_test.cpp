// Drop-down lists as a person uses them: the keys and taps that pick an item, the
// dropped list's window, and the messages the program sends.
#include <string>

#include "control_host.h"

using namespace controls_test;

namespace {

constexpr DWORD kListStyle = WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_SORT;
constexpr int kMinutes = 1012;

std::u16string item_text(HWND combo, int index)
{
    LRESULT n = SendMessageW(combo, CB_GETLBTEXTLEN, (WPARAM)index, 0);
    if (n == CB_ERR)
        return u"<none>";
    std::u16string s((size_t)n + 1, u'?');
    EXPECT_EQ(SendMessageW(combo, CB_GETLBTEXT, (WPARAM)index, (LPARAM)s.data()), n);
    s.resize((size_t)n);
    return s;
}

HWND dropped_list() { return FindWindowW(u"ComboLBox", nullptr); }

class ComboBoxes : public ControlHost {
protected:
    void SetUp() override
    {
        ControlHost::SetUp();
        minutes = make(u"COMBOBOX", u"", kListStyle, 10, 30, 62, 117, kMinutes);
        ASSERT_NE(minutes, nullptr);
        const char16_t* items[] = {u"0", u"1", u"3", u"5", u"10"};
        for (int i = 0; i < 5; ++i)
            ASSERT_EQ(SendMessageW(minutes, CB_INSERTSTRING, (WPARAM)i, (LPARAM)items[i]), i);
        SendMessageW(minutes, CB_SETCURSEL, 1, 0);
        pump();
        message_log().clear();
    }
    // Drops the list from the keyboard and measures its rows.
    void focus_and_drop()
    {
        SetFocus(minutes);
        dt::press_key(VK_DOWN, false, true);
        pump();
        ASSERT_NE(dropped_list(), nullptr);
        measure_rows();
    }
    // The rows of the dropped list, from the band of its highlighted item.
    void measure_rows()
    {
        RECT list = screen_rect(dropped_list());
        int first = -1, last = -1;
        for (int y = list.top; y < list.bottom; ++y)
            if (is_highlight(dt::screen_pixel(list.left + 3, y))) {
                first = first < 0 ? y : first;
                last = y;
            }
        if (first >= 0 && selection() >= 0 && selection() < 5) {
            row_height = last - first + 1;
            first_row = first - selection() * row_height;
        }
    }
    int selection() const { return (int)SendMessageW(minutes, CB_GETCURSEL, 0, 0); }
    // The middle of the dropped list's row `row`.
    POINT row_centre(int row) const
    {
        RECT list = screen_rect(dropped_list());
        return POINT{(list.left + list.right) / 2, first_row + row * row_height + row_height / 2};
    }
    static bool is_highlight(uint32_t p) { return (p & 0xFF) > 0xB0 && (p >> 16 & 0xFF) < 0x40; }
    int first_row = 0, row_height = 0;
    HWND minutes = nullptr;
};

}  // namespace

TEST_F(ComboBoxes, InsertionsKeepTheirPositionsEvenSortedAndAddingSorts)
{
    HWND sorted = make(u"COMBOBOX", u"", kListStyle, 100, 30, 60, 100, 7);
    EXPECT_EQ(SendMessageW(sorted, CB_INSERTSTRING, 0, (LPARAM)u"10"), 0);
    EXPECT_EQ(SendMessageW(sorted, CB_INSERTSTRING, 1, (LPARAM)u"5"), 1);
    EXPECT_EQ(SendMessageW(sorted, CB_INSERTSTRING, (WPARAM)-1, (LPARAM)u"0"), 2);
    EXPECT_EQ(SendMessageW(sorted, CB_INSERTSTRING, 4, (LPARAM)u"x"), CB_ERR) << "past the end";
    EXPECT_EQ(item_text(sorted, 0), u"10");
    EXPECT_EQ(item_text(sorted, 1), u"5");
    EXPECT_EQ(item_text(sorted, 2), u"0");

    HWND plain = make(u"COMBOBOX", u"", WS_TABSTOP | CBS_DROPDOWNLIST, 100, 90, 60, 100, 8);
    SendMessageW(sorted, CB_RESETCONTENT, 0, 0);
    for (const char16_t* s : {u"b", u"C", u"a"}) {
        SendMessageW(sorted, CB_ADDSTRING, 0, (LPARAM)s);
        SendMessageW(plain, CB_ADDSTRING, 0, (LPARAM)s);
    }
    EXPECT_EQ(item_text(sorted, 0) + item_text(sorted, 1) + item_text(sorted, 2), u"abC") << "case is ignored";
    EXPECT_EQ(item_text(plain, 0) + item_text(plain, 1) + item_text(plain, 2), u"bCa");
    EXPECT_EQ(item_text(plain, 3), u"<none>");
    EXPECT_EQ(SendMessageW(plain, CB_GETLBTEXT, 3, (LPARAM) nullptr), CB_ERR);
}

TEST_F(ComboBoxes, SelectionFollowsDeletionsAndOutOfRangeSelectsNothing)
{
    EXPECT_EQ(SendMessageW(minutes, CB_SETCURSEL, 3, 0), 3);
    EXPECT_EQ(SendMessageW(minutes, CB_DELETESTRING, 0, 0), 4) << "four left";
    EXPECT_EQ(selection(), 2) << "the same item, one place up";
    EXPECT_EQ(SendMessageW(minutes, CB_INSERTSTRING, 0, (LPARAM)u"0"), 0);
    EXPECT_EQ(selection(), 3);
    EXPECT_EQ(SendMessageW(minutes, CB_INSERTSTRING, 3, (LPARAM)u"4"), 3) << "right at the selected item";
    EXPECT_EQ(item_text(minutes, selection()), u"5");
    EXPECT_EQ(SendMessageW(minutes, CB_DELETESTRING, 3, 0), 5);
    EXPECT_EQ(SendMessageW(minutes, CB_DELETESTRING, 3, 0), 4);
    EXPECT_EQ(selection(), CB_ERR) << "the selected item went";
    EXPECT_EQ(SendMessageW(minutes, CB_DELETESTRING, 9, 0), CB_ERR);

    EXPECT_EQ(SendMessageW(minutes, CB_SETCURSEL, 2, 0), 2);
    EXPECT_EQ(SendMessageW(minutes, CB_SETCURSEL, 7, 0), CB_ERR);
    EXPECT_EQ(selection(), CB_ERR);
    EXPECT_EQ(SendMessageW(minutes, CB_SETCURSEL, 1, 0), 1);
    EXPECT_EQ(SendMessageW(minutes, CB_SETCURSEL, (WPARAM)-1, 0), CB_ERR);
    EXPECT_EQ(selection(), CB_ERR);
    EXPECT_TRUE(notified({})) << "a program's selection is not announced";

    SendMessageW(minutes, CB_RESETCONTENT, 0, 0);
    EXPECT_EQ(SendMessageW(minutes, CB_GETCOUNT, 0, 0), 0);
    EXPECT_EQ(SendMessageW(minutes, CB_SETCURSEL, 0, 0), CB_ERR);
}

TEST_F(ComboBoxes, ClosedItIsOneItemHighAndDroppedTheListFillsTheRestBelowIt)
{
    RECT box = screen_rect(minutes);
    int closed = box.bottom - box.top;
    EXPECT_LT(closed, 117);
    EXPECT_GE(closed, 13 + 4) << "room for a line of 11-pixel text and the border";
    EXPECT_EQ(box.top, dt::work_area().top + 30) << "it keeps its top";

    uint32_t below_before = dt::screen_pixel(box.left + 20, box.bottom + 20);
    focus_and_drop();
    HWND list = dropped_list();
    EXPECT_TRUE(IsWindowVisible(list));
    EXPECT_EQ(GetParent(list), host) << "owned by the combo box's top-level window";
    EXPECT_EQ(GetActiveWindow(), host) << "the list does not take the activation";
    EXPECT_EQ(GetFocus(), minutes);
    EXPECT_EQ(GetCapture(), minutes);
    EXPECT_EQ(SendMessageW(minutes, CB_GETDROPPEDSTATE, 0, 0), TRUE);
    RECT r = screen_rect(list);
    EXPECT_EQ(r.top, box.bottom);
    EXPECT_EQ(r.left, box.left);
    EXPECT_EQ(r.right, box.right);
    EXPECT_LE(r.bottom, box.top + 117) << "within the created height";
    EXPECT_GE(r.bottom - r.top, 5 * 13) << "five items fit";
    EXPECT_NE(dt::screen_pixel(box.left + 20, box.bottom + 20), below_before);
    EXPECT_TRUE(notified({{minutes, CBN_DROPDOWN}}));
    screenshot("combo-dropped");
}

TEST_F(ComboBoxes, ArrowsHomeAndEndPickNeighboursAndStopAtTheEnds)
{
    SetFocus(minutes);
    auto press = [&](int vk) {
        message_log().clear();
        dt::press_key(vk);
        pump();
        return std::pair{selection(), message_log().count(WM_COMMAND)};
    };
    EXPECT_EQ(press(VK_DOWN), std::pair(2, size_t{1}));
    EXPECT_EQ(press(VK_RIGHT), std::pair(3, size_t{1}));
    EXPECT_EQ(press(VK_END), std::pair(4, size_t{1}));
    EXPECT_EQ(press(VK_DOWN), std::pair(4, size_t{0}));
    EXPECT_EQ(press(VK_HOME), std::pair(0, size_t{1}));
    EXPECT_EQ(press(VK_UP), std::pair(0, size_t{0}));
    EXPECT_EQ(press(VK_LEFT), std::pair(0, size_t{0}));
    dt::press_key(VK_DOWN);
    pump();
    EXPECT_TRUE(notified({{minutes, CBN_SELCHANGE}}));

    SendMessageW(minutes, CB_SETCURSEL, (WPARAM)-1, 0);
    EXPECT_EQ(press(VK_DOWN), std::pair(0, size_t{1})) << "from no selection Down takes the first";
    EXPECT_EQ(dropped_list(), nullptr) << "arrows alone never drop the list";
}

TEST_F(ComboBoxes, TappingTheThirdItemPicksItAndCloses)
{
    focus_and_drop();
    HWND list = dropped_list();
    message_log().clear();
    POINT p = row_centre(2);
    dt::tap(p.x, p.y);
    pump();
    EXPECT_EQ(selection(), 2);
    EXPECT_TRUE(notified({{minutes, CBN_SELCHANGE}, {minutes, CBN_CLOSEUP}}));
    EXPECT_FALSE(IsWindow(list));
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(SendMessageW(minutes, CB_GETDROPPEDSTATE, 0, 0), FALSE);

    focus_and_drop();
    message_log().clear();
    p = row_centre(2);
    dt::tap(p.x, p.y);  // the item already chosen: closing only
    pump();
    EXPECT_TRUE(notified({{minutes, CBN_CLOSEUP}}));
}

TEST_F(ComboBoxes, ATapOutsideClosesWithoutChangeAndPressesNothingBeneath)
{
    HWND button = make(u"BUTTON", u"閉じる", WS_TABSTOP, 120, 200, 60, 22, IDCANCEL);
    pump();
    focus_and_drop();
    message_log().clear();
    POINT p = centre(screen_rect(button));
    dt::tap(p.x, p.y);
    pump();
    EXPECT_EQ(dropped_list(), nullptr);
    EXPECT_EQ(selection(), 1);
    EXPECT_TRUE(notified({{minutes, CBN_CLOSEUP}})) << "the tap that closes a list is spent on it";

    focus_and_drop();
    p = centre(screen_rect(minutes));
    dt::tap(p.x, p.y);  // the box itself closes it too
    pump();
    EXPECT_EQ(dropped_list(), nullptr);
    EXPECT_EQ(selection(), 1);
}

TEST_F(ComboBoxes, EscapeKeepsTheSelectionAndEnterTakesTheHighlight)
{
    focus_and_drop();
    message_log().clear();
    dt::press_key(VK_DOWN);
    dt::press_key(VK_DOWN);
    pump();
    EXPECT_EQ(selection(), 1) << "the highlight moves, the selection waits";
    EXPECT_TRUE(notified({}));
    dt::press_key(VK_ESCAPE);
    pump();
    EXPECT_EQ(dropped_list(), nullptr);
    EXPECT_EQ(selection(), 1);
    EXPECT_TRUE(notified({{minutes, CBN_CLOSEUP}}));

    focus_and_drop();
    message_log().clear();
    dt::press_key(VK_END);
    dt::press_key(VK_UP);
    dt::press_key(VK_RETURN);
    pump();
    EXPECT_EQ(dropped_list(), nullptr);
    EXPECT_EQ(selection(), 3);
    EXPECT_TRUE(notified({{minutes, CBN_SELCHANGE}, {minutes, CBN_CLOSEUP}}));

    dt::press_key(VK_F4);
    pump();
    ASSERT_NE(dropped_list(), nullptr) << "F4 drops it too";
    dt::press_key(VK_HOME);
    dt::press_key(VK_UP, false, true);  // Alt+Up closes, taking the highlight
    pump();
    EXPECT_EQ(dropped_list(), nullptr);
    EXPECT_EQ(selection(), 0);
}

TEST_F(ComboBoxes, PressOnTheBoxDragToAnItemAndReleasePicksIt)
{
    SetFocus(nullptr);
    POINT box = centre(screen_rect(minutes));
    pointer(tickvane::display::EventKind::PointerDown, box.x, box.y);
    pump();
    ASSERT_NE(dropped_list(), nullptr);
    measure_rows();
    ASSERT_GT(row_height, 0);
    EXPECT_EQ(GetFocus(), minutes) << "a tap gives it the focus";
    POINT item = row_centre(4);
    pointer(tickvane::display::EventKind::PointerMove, item.x, item.y);
    pointer(tickvane::display::EventKind::PointerUp, item.x, item.y);
    pump();
    EXPECT_EQ(selection(), 4);
    EXPECT_EQ(dropped_list(), nullptr);

    dt::tap(box.x, box.y);  // a plain tap leaves it open for the next tap
    pump();
    EXPECT_NE(dropped_list(), nullptr);
}

TEST_F(ComboBoxes, DestroyingOrLeavingTheComboBoxTakesItsListAlong)
{
    HWND other = make(u"BUTTON", u"x", WS_TABSTOP, 120, 200, 60, 22, 5);
    focus_and_drop();
    message_log().clear();
    SetFocus(other);
    EXPECT_EQ(dropped_list(), nullptr);
    EXPECT_TRUE(notified({{minutes, CBN_CLOSEUP}}));
    EXPECT_EQ(GetCapture(), nullptr);

    focus_and_drop();
    ShowWindow(minutes, SW_HIDE);
    EXPECT_EQ(dropped_list(), nullptr) << "hidden, it closes";
    ShowWindow(minutes, SW_SHOW);

    focus_and_drop();
    HWND list = dropped_list();
    DestroyWindow(minutes);
    EXPECT_FALSE(IsWindow(list));
    EXPECT_EQ(GetCapture(), nullptr);
    pump();  // nothing left that refers to either
    EXPECT_EQ(dropped_list(), nullptr);
}

TEST_F(ComboBoxes, DestroyingTheOwnerWhileDroppedLeavesNothingBehind)
{
    focus_and_drop();
    HWND list = dropped_list();
    DestroyWindow(host);
    EXPECT_FALSE(IsWindow(list));
    EXPECT_FALSE(IsWindow(minutes));
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(ComboBoxes, EnterAndEscapeBelongToTheListOnlyWhileDropped)
{
    MSG enter{minutes, WM_KEYDOWN, VK_RETURN, 0, 0, {}};
    MSG escape{minutes, WM_KEYDOWN, VK_ESCAPE, 0, 0, {}};
    MSG down{minutes, WM_KEYDOWN, VK_DOWN, 0, 0, {}};
    EXPECT_EQ(SendMessageW(minutes, WM_GETDLGCODE, VK_RETURN, (LPARAM)&enter), DLGC_WANTARROWS);
    focus_and_drop();
    EXPECT_EQ(SendMessageW(minutes, WM_GETDLGCODE, VK_RETURN, (LPARAM)&enter), DLGC_WANTARROWS | DLGC_WANTMESSAGE);
    EXPECT_EQ(SendMessageW(minutes, WM_GETDLGCODE, VK_ESCAPE, (LPARAM)&escape), DLGC_WANTARROWS | DLGC_WANTMESSAGE);
    EXPECT_EQ(SendMessageW(minutes, WM_GETDLGCODE, VK_DOWN, (LPARAM)&down), DLGC_WANTARROWS);
    EXPECT_EQ(SendMessageW(minutes, WM_GETDLGCODE, 0, 0), DLGC_WANTARROWS);
}

TEST_F(ComboBoxes, TheListGoesAboveWhenThereIsNoRoomBelow)
{
    RECT area = dt::work_area();
    int y = area.bottom - area.top - 40;
    HWND low = make(u"COMBOBOX", u"", kListStyle, 100, y, 60, 117, 9);
    for (const char16_t* s : {u"0", u"15", u"30", u"45"})
        SendMessageW(low, CB_ADDSTRING, 0, (LPARAM)s);
    SetFocus(low);
    dt::press_key(VK_F4);
    pump();
    ASSERT_NE(dropped_list(), nullptr);
    RECT box = screen_rect(low), list = screen_rect(dropped_list());
    EXPECT_EQ(list.bottom, box.top);
    EXPECT_GE(list.top, area.top);
    EXPECT_GE(list.bottom - list.top, 4 * 13);
}

TEST_F(ComboBoxes, ALongListScrollsToKeepTheHighlightInView)
{
    SendMessageW(minutes, CB_RESETCONTENT, 0, 0);
    for (int i = 0; i < 20; ++i) {
        std::u16string s = u"item " + std::u16string(1, (char16_t)(u'A' + i));
        SendMessageW(minutes, CB_ADDSTRING, 0, (LPARAM)s.c_str());
    }
    SendMessageW(minutes, CB_SETCURSEL, 0, 0);
    focus_and_drop();
    ASSERT_GT(row_height, 0);
    RECT list = screen_rect(dropped_list());
    EXPECT_LE(list.bottom, screen_rect(minutes).top + 117);
    int rows = (list.bottom - list.top - 2) / row_height;
    ASSERT_GE(rows, 3);
    ASSERT_LT(rows, 20);
    for (int i = 0; i < 8; ++i)
        dt::press_key(VK_DOWN);
    pump();
    screenshot("combo-scrolled");
    // Item 8 is highlighted on the bottom row now; the rows above it show the items before it.
    POINT bottom = row_centre(rows - 1);
    EXPECT_TRUE(is_highlight(dt::screen_pixel(list.left + 3, bottom.y)));
    dt::tap(list.left + 10, bottom.y);
    pump();
    EXPECT_EQ(selection(), 8);
    EXPECT_EQ(item_text(minutes, selection()), u"item I");

    focus_and_drop();  // the scroll bar's down arrow scrolls by one item
    dt::press_key(VK_HOME);
    pump();
    dt::tap(list.right - 4, list.bottom - 4);
    dt::tap(list.left + 10, row_centre(0).y);
    pump();
    EXPECT_EQ(selection(), 1);
}

TEST_F(ComboBoxes, DisabledItNeitherDropsNorChangesAndShowsGrey)
{
    RECT box = screen_rect(minutes);
    RECT field{box.left + 2, box.top + 2, box.left + 30, box.bottom - 2};
    EXPECT_GT(count_pixels(field, is_dark), 5) << "the selected item's text";
    EnableWindow(minutes, FALSE);
    pump();
    EXPECT_EQ(count_pixels(field, is_dark), 0);
    POINT c = centre(box);
    dt::tap(c.x, c.y);
    SetFocus(minutes);
    dt::press_key(VK_DOWN, false, true);
    dt::press_key(VK_DOWN);
    pump();
    EXPECT_EQ(dropped_list(), nullptr);
    EXPECT_EQ(selection(), 1);
    EXPECT_TRUE(notified({}));
}

TEST_F(ComboBoxes, TheSelectedTextIsDarkInTheBoxAndHighlightedWithTheFocus)
{
    RECT box = screen_rect(minutes);
    RECT field{box.left + 2, box.top + 2, box.left + 30, box.bottom - 2};
    auto blue = [](uint32_t p) { return (p & 0xFF) > 0xB0 && (p >> 16 & 0xFF) < 0x40; };
    auto light = [](uint32_t p) { return (p >> 16 & 0xFF) > 0x80; };  // text over the highlight
    EXPECT_GT(count_pixels(field, is_dark), 5);
    EXPECT_EQ(count_pixels(field, blue), 0);
    EXPECT_EQ(count_pixels(RECT{box.left, box.bottom, box.right, box.bottom + 3},
                           [](uint32_t p) { return p != 0xF0F0F0; }),
              0)
        << "nothing drawn below the closed box";
    SetFocus(minutes);
    pump();
    screenshot("combo-focused");
    int area = (field.right - field.left) * (field.bottom - field.top);
    EXPECT_GT(count_pixels(field, blue), area / 2);
    EXPECT_GT(count_pixels(field, light), 3) << "the text, light on the highlight";
    EXPECT_EQ(count_pixels(field, is_dark), 0);
}

// What the controls keep lives in their windows' extra bytes; a reset that drops the
// windows must free it (AddressSanitizer's leak check sees it otherwise) and leave a
// device whose combo boxes work as new.
TEST_F(ComboBoxes, AResetWithTheListDroppedFreesItAllAndTheNextDeviceWorks)
{
    make(u"BUTTON", u"x", WS_TABSTOP, 120, 200, 60, 22, 5);
    make(u"STATIC", u"label", 0, 120, 230, 60, 22, 6);
    focus_and_drop();
    SetUp();  // a fresh device, the old windows dropped
    EXPECT_EQ(dropped_list(), nullptr);
    focus_and_drop();
    dt::press_key(VK_DOWN);
    dt::press_key(VK_RETURN);
    pump();
    EXPECT_EQ(selection(), 2);
    EXPECT_EQ(dropped_list(), nullptr);
}

// A list made by a program, not by a combo box, names a window that is none: it is
// drawn and destroyed without taking that window's state for a combo box's.
TEST_F(ComboBoxes, AListWhoseCreatorIsNoComboBoxLeavesThatWindowAlone)
{
    HWND button = make(u"BUTTON", u"x", WS_TABSTOP, 120, 200, 60, 22, 5);
    for (HWND creator : {button, host, (HWND) nullptr}) {
        HWND list = CreateWindowExW(0, u"ComboLBox", u"", WS_POPUP | WS_BORDER | WS_VISIBLE, 20, 60, 80, 40, nullptr,
                                    nullptr, dt::instance(), creator);
        ASSERT_NE(list, nullptr);
        pump();
        EXPECT_TRUE(DestroyWindow(list));
    }
    POINT at = centre(screen_rect(button));
    dt::tap(at.x, at.y);
    pump();
    EXPECT_TRUE(notified({{button, BN_CLICKED}}));
}
