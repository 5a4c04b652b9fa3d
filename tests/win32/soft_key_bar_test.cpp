// The soft-key bar on the desktop: a menu bar holding copies of the first two commands,
// pressed by F1 / F2 too.
#include <gtest/gtest.h>

#include <string>

#include "program_window.h"
#include "win32.h"

namespace {

class SoftKeyBar : public ::testing::Test {
protected:
    void SetUp() override
    {
        window = tickvane::win32::testing::create_program_window();
        ASSERT_NE(window, nullptr);
        menu = CreateMenu();
        AppendMenuW(menu, MF_POPUP, (UINT_PTR)CreatePopupMenu(), L"pop-up");
        AppendMenuW(menu, MF_STRING, 40003, L"オプション");
        AppendMenuW(menu, MF_STRING, 40002, L"プログラムの終了");
        AppendMenuW(menu, MF_STRING, 40009, L"third");
    }
    void TearDown() override
    {
        DestroyWindow(window);
        DestroyMenu(menu);
    }
    SHMENUBARINFO info(DWORD flags)
    {
        SHMENUBARINFO mbi = {};
        mbi.cbSize = sizeof(mbi);
        mbi.hwndParent = window;
        mbi.dwFlags = flags;
        mbi.nToolBarId = (UINT)(UINT_PTR)menu;  // as the clock passes its menu
        mbi.hInstRes = GetModuleHandleW(nullptr);
        return mbi;
    }
    static std::wstring label(HMENU bar, int position)
    {
        wchar_t text[64] = L"";
        GetMenuStringW(bar, (UINT)position, text, 64, MF_BYPOSITION);
        return text;
    }
    // The command a key press on the window posts, or 0.
    UINT command_after_key(WPARAM key)
    {
        SendMessageW(window, WM_KEYDOWN, key, 0);
        MSG msg;
        while (PeekMessageW(&msg, window, 0, 0, PM_REMOVE))
            if (msg.message == WM_COMMAND)
                return LOWORD(msg.wParam);
        return 0;
    }
    HWND window = nullptr;
    HMENU menu = nullptr;
};

TEST_F(SoftKeyBar, TheBarCopiesTheFirstTwoCommandsAndOutlivesTheCallersMenu)
{
    SHMENUBARINFO mbi = info(SHCMBF_HMENU);
    ASSERT_TRUE(SHCreateMenuBar(&mbi));
    DestroyMenu(menu);  // the clock releases its menu while the bar lives on
    menu = nullptr;
    HMENU bar = GetMenu(window);
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(GetMenuItemCount(bar), 2) << "the pop-up has no soft key; the third command no place";
    EXPECT_EQ(GetMenuItemID(bar, 0), 40003u);
    EXPECT_EQ(label(bar, 0), L"オプション");
    EXPECT_EQ(GetMenuItemID(bar, 1), 40002u);
    EXPECT_EQ(label(bar, 1), L"プログラムの終了");
}

TEST_F(SoftKeyBar, FOneAndFTwoPressTheKeys)
{
    SHMENUBARINFO mbi = info(SHCMBF_HMENU);
    ASSERT_TRUE(SHCreateMenuBar(&mbi));
    EXPECT_EQ(command_after_key(VK_F1), 40003u);
    EXPECT_EQ(command_after_key(VK_F2), 40002u);
    EXPECT_EQ(command_after_key(VK_F3), 0u);
}

TEST_F(SoftKeyBar, RefusalsLeaveTheWindowWithoutABar)
{
    EXPECT_FALSE(SHCreateMenuBar(nullptr));
    SHMENUBARINFO mbi = info(SHCMBF_HMENU);
    mbi.cbSize -= 4;
    EXPECT_FALSE(SHCreateMenuBar(&mbi)) << "size";
    mbi = info(SHCMBF_HMENU), mbi.hwndParent = (HWND)(ULONG_PTR)0x1234;
    EXPECT_FALSE(SHCreateMenuBar(&mbi)) << "no such window";
    mbi = info(SHCMBF_HMENU), mbi.nToolBarId = 0x4321;
    EXPECT_FALSE(SHCreateMenuBar(&mbi)) << "no such menu";
    mbi = info(0), mbi.nToolBarId = 999;
    EXPECT_FALSE(SHCreateMenuBar(&mbi)) << "no such menu resource";
    EXPECT_EQ(GetMenu(window), nullptr);
    EXPECT_EQ(command_after_key(VK_F1), 0u);

    mbi = info(SHCMBF_EMPTYBAR);
    EXPECT_TRUE(SHCreateMenuBar(&mbi));
    ASSERT_NE(GetMenu(window), nullptr);
    EXPECT_EQ(GetMenuItemCount(GetMenu(window)), 0);
    EXPECT_EQ(command_after_key(VK_F1), 0u) << "no key, no command";
}

}  // namespace
