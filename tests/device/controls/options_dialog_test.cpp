// The controls inside the clock's own options dialog template, run modally: the keys
// a dropped list keeps from the dialog, Tab between the lists, and how it looks.
#include "control_host.h"
#include "resource.h"

using namespace controls_test;

namespace {

INT_PTR CALLBACK OptionsProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_INITDIALOG) {
        const char16_t* minutes[] = {u"0", u"1", u"3", u"5", u"10"};
        const char16_t* seconds[] = {u"0", u"15", u"30", u"45"};
        for (int i = 0; i < 5; ++i)
            SendDlgItemMessageW(dialog, IDC_MINUTES, CB_INSERTSTRING, (WPARAM)i, (LPARAM)minutes[i]);
        for (int i = 0; i < 4; ++i)
            SendDlgItemMessageW(dialog, IDC_SECONDS, CB_INSERTSTRING, (WPARAM)i, (LPARAM)seconds[i]);
        SendDlgItemMessageW(dialog, IDC_MINUTES, CB_SETCURSEL, 3, 0);
        SendDlgItemMessageW(dialog, IDC_SECONDS, CB_SETCURSEL, 1, 0);
        return TRUE;
    }
    if (msg != WM_COMMAND)
        return FALSE;
    message_log().record(dialog, msg, wParam, lParam);
    if (LOWORD(wParam) == IDCANCEL)
        EndDialog(dialog, IDCANCEL);
    return TRUE;
}

class OptionsDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        dt::reset();
        message_log().forget();
        WNDCLASSW wc{};
        wc.lpfnWndProc = DefWindowProcW;
        wc.lpszClassName = u"owner";
        ASSERT_NE(RegisterClassW(&wc), 0);
        owner = CreateWindowExW(0, u"owner", u"clock", 0, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                nullptr, nullptr, dt::instance(), nullptr);
        ShowWindow(owner, SW_SHOW);
    }

    // Runs the dialog with `steps`; afterwards the Close button ends it.
    void run(const std::vector<Step>& steps)
    {
        HRSRC found = FindResourceW(dt::instance(), MAKEINTRESOURCEW(IDD_OPTION), RT_DIALOG);
        auto* tmpl = (LPCDLGTEMPLATEW)LockResource(LoadResource(dt::instance(), found));
        run_script(
            steps, [] { tap(GetDlgItem(dialog(), IDCANCEL)); },
            [&] { DialogBoxIndirectParamW(dt::instance(), tmpl, owner, OptionsProc, 0); });
    }
    static HWND dialog() { return GetActiveWindow(); }
    static void tap(HWND control)
    {
        POINT c = centre(screen_rect(control));
        dt::tap(c.x, c.y);
    }
    HWND owner = nullptr;
};

int selection(int id) { return (int)SendDlgItemMessageW(GetActiveWindow(), id, CB_GETCURSEL, 0, 0); }

const Until kListDropped = until("the list to drop", [] { return FindWindowW(u"ComboLBox", nullptr) != nullptr; });
const Until kListClosed = until("the list to close", [] { return FindWindowW(u"ComboLBox", nullptr) == nullptr; });

}  // namespace

TEST_F(OptionsDialog, EnterAndEscapeInADroppedListStayWithTheList)
{
    run({{shown(u"OPTION"),
          [] {
              screenshot("options");
              tap(GetDlgItem(dialog(), IDC_MINUTES));
          }},
         {kListDropped,
          [] {
              screenshot("options-dropped");
              dt::press_key(VK_DOWN);
              dt::press_key(VK_RETURN);
          }},
         {kListClosed,
          [] {
              EXPECT_EQ(selection(IDC_MINUTES), 4);
              dt::press_key(VK_DOWN, false, true);
              dt::press_key(VK_UP);
              dt::press_key(VK_ESCAPE);
          }},
         {kListClosed,
          [] {
              EXPECT_TRUE(IsWindow(FindWindowW(nullptr, u"OPTION"))) << "Escape closed the list, not the dialog";
              EXPECT_EQ(selection(IDC_MINUTES), 4);
              dt::press_key(VK_RETURN);  // closed, Enter is the dialog's again
              dt::press_key(VK_TAB);
          }},
         {until("the focus to reach the seconds", [] { return GetFocus() == GetDlgItem(dialog(), IDC_SECONDS); }),
          [] { dt::press_key(VK_DOWN); }},  // Tab went from list to list, past the labels
         {until("the seconds to change", [] { return selection(IDC_SECONDS) != 1; }), [] {
              EXPECT_EQ(selection(IDC_SECONDS), 2);
              screenshot("options-seconds");
              tap(GetDlgItem(dialog(), IDCANCEL));
          }}});
    // Enter and Escape in the dropped list took the item and closed the list, pressing no button.
    EXPECT_TRUE(sequence_is(message_log().all(), {WM_COMMAND},
                            {command(nullptr, IDC_MINUTES, CBN_DROPDOWN), command(nullptr, IDC_MINUTES, CBN_SELCHANGE),
                             command(nullptr, IDC_MINUTES, CBN_CLOSEUP), command(nullptr, IDC_MINUTES, CBN_DROPDOWN),
                             command(nullptr, IDC_MINUTES, CBN_CLOSEUP), command(nullptr, IDOK, BN_CLICKED),
                             command(nullptr, IDC_SECONDS, CBN_SELCHANGE), command(nullptr, IDCANCEL, BN_CLICKED)}));
    EXPECT_FALSE(IsWindow(FindWindowW(u"ComboLBox", nullptr)));
    EXPECT_TRUE(IsWindowEnabled(owner));
}

TEST_F(OptionsDialog, ListsLineUpWithTheirLabels)
{
    run({{shown(u"OPTION"), [] {
              HWND d = dialog();
              // The labels' ink sits level with the lists' boxes: centres within two pixels.
              for (int id : {IDC_MINUTES, IDC_SECONDS}) {
                  RECT box = screen_rect(GetDlgItem(d, id));
                  RECT right{box.right + 1, box.top - 4, box.right + 20, box.bottom + 4};
                  int top = -1, bottom = -1;
                  for (int y = right.top; y < right.bottom; ++y)
                      if (count_pixels(RECT{right.left, y, right.right, y + 1}, is_dark) > 0)
                          top = top < 0 ? y : top, bottom = y;
                  ASSERT_GE(top, 0) << "a label right of list " << id;
                  EXPECT_NEAR((top + bottom) / 2.0, (box.top + box.bottom - 1) / 2.0, 2.0) << id;
              }
              tap(GetDlgItem(d, IDCANCEL));
          }}});
}
