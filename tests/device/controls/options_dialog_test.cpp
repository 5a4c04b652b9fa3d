// The controls inside the clock's own options dialog template, run modally: the keys
// a dropped list keeps from the dialog, Tab between the lists, and how it looks.
#include <functional>

#include "control_host.h"
#include "resource.h"

using namespace controls_test;

namespace {

std::vector<std::pair<int, int>> g_seen;  // (id, notification) the dialog procedure got

INT_PTR CALLBACK OptionsProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM)
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
    g_seen.emplace_back(LOWORD(wParam), HIWORD(wParam));
    if (LOWORD(wParam) == IDCANCEL)
        EndDialog(dialog, IDCANCEL);
    return TRUE;
}

class OptionsDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        dt::reset();
        g_seen.clear();
        WNDCLASSW wc{};
        wc.lpfnWndProc = DefWindowProcW;
        wc.lpszClassName = u"owner";
        ASSERT_NE(RegisterClassW(&wc), 0);
        owner = CreateWindowExW(0, u"owner", u"clock", 0, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                nullptr, nullptr, dt::instance(), nullptr);
        ShowWindow(owner, SW_SHOW);
    }
    void TearDown() override { dt::on_idle(nullptr); }

    // Runs the dialog with one step at each idle point; a step must give the loop
    // something to do. Afterwards the Close button ends it.
    void run(std::vector<std::function<void(HWND)>> steps)
    {
        size_t next = 0;
        dt::on_idle([&] {
            HWND dialog = GetActiveWindow();
            if (next < steps.size())
                steps[next++](dialog);
            else if (HWND close = GetDlgItem(dialog, IDCANCEL))
                tap(close);
            else
                PostQuitMessage(1);
        });
        HRSRC found = FindResourceW(dt::instance(), MAKEINTRESOURCEW(IDD_OPTION), RT_DIALOG);
        auto* tmpl = (LPCDLGTEMPLATEW)LockResource(LoadResource(dt::instance(), found));
        DialogBoxIndirectParamW(dt::instance(), tmpl, owner, OptionsProc, 0);
        EXPECT_EQ(next, steps.size()) << "every step ran";
    }
    static void tap(HWND control)
    {
        POINT c = centre(screen_rect(control));
        dt::tap(c.x, c.y);
    }
    static bool seen(int id, int code)
    {
        return std::find(g_seen.begin(), g_seen.end(), std::pair{id, code}) != g_seen.end();
    }
    HWND owner = nullptr;
};

int selection(HWND dialog, int id) { return (int)SendDlgItemMessageW(dialog, id, CB_GETCURSEL, 0, 0); }

}  // namespace

TEST_F(OptionsDialog, EnterAndEscapeInADroppedListStayWithTheList)
{
    run({[](HWND d) {
             screenshot("options");
             tap(GetDlgItem(d, IDC_MINUTES));
         },
         [](HWND) {
             EXPECT_NE(FindWindowW(u"ComboLBox", nullptr), nullptr);
             screenshot("options-dropped");
             dt::press_key(VK_DOWN);
             dt::press_key(VK_RETURN);
         },
         [](HWND d) {
             EXPECT_EQ(FindWindowW(u"ComboLBox", nullptr), nullptr);
             EXPECT_EQ(selection(d, IDC_MINUTES), 4);
             EXPECT_FALSE(seen(IDOK, BN_CLICKED)) << "Enter took the item, not the Apply button";
             dt::press_key(VK_DOWN, false, true);
             dt::press_key(VK_UP);
             dt::press_key(VK_ESCAPE);
         },
         [](HWND d) {
             EXPECT_TRUE(IsWindow(d)) << "Escape closed the list, not the dialog";
             EXPECT_FALSE(seen(IDCANCEL, BN_CLICKED));
             EXPECT_EQ(selection(d, IDC_MINUTES), 4);
             dt::press_key(VK_RETURN);  // closed, Enter is the dialog's again
         },
         [](HWND) {
             EXPECT_TRUE(seen(IDOK, BN_CLICKED));
             EXPECT_TRUE(seen(IDC_MINUTES, CBN_SELCHANGE));
             dt::press_key(VK_TAB);
         },
         [](HWND d) {
             EXPECT_EQ(GetFocus(), GetDlgItem(d, IDC_SECONDS)) << "Tab goes from list to list, past the labels";
             dt::press_key(VK_DOWN);
         },
         [](HWND d) {
             EXPECT_EQ(selection(d, IDC_SECONDS), 2);
             EXPECT_TRUE(seen(IDC_SECONDS, CBN_SELCHANGE));
             screenshot("options-seconds");
             tap(GetDlgItem(d, IDCANCEL));
         }});
    EXPECT_FALSE(IsWindow(FindWindowW(u"ComboLBox", nullptr)));
    EXPECT_TRUE(IsWindowEnabled(owner));
}

TEST_F(OptionsDialog, ListsLineUpWithTheirLabels)
{
    run({[](HWND d) {
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
    }});
}
