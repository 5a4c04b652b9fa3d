// What a window keeps for its procedure: the class's extra bytes, the named fields,
// the text, and the relations GetWindow walks. Controls keep their state this way.
#include <gtest/gtest.h>

#include <string>

#include "testing.h"
#include "win32.h"

namespace dt = tickvane::device::testing;

namespace {

LRESULT CALLBACK PlainProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

HWND make(const char16_t* cls, DWORD style, HWND parent, int id = 0)
{
    return CreateWindowExW(0, cls, u"first", style, 0, 0, 50, 20, parent, (HMENU)(intptr_t)id, dt::instance(), nullptr);
}

TEST(WindowLongs, ExtraBytesFieldsTextAndRelations)
{
    dt::reset();
    WNDCLASSW wc{};
    wc.lpfnWndProc = PlainProc;
    wc.lpszClassName = u"plain";
    wc.cbWndExtra = 2 * sizeof(LONG_PTR);
    ASSERT_NE(RegisterClassW(&wc), 0);
    HWND top = make(u"plain", WS_POPUP, nullptr);
    HWND a = make(u"plain", WS_CHILD | WS_VISIBLE | WS_DISABLED, top, 7);
    HWND b = make(u"plain", WS_CHILD, top, 8);

    // Extra bytes start at zero, keep what is set, and end where the class says.
    EXPECT_EQ(GetWindowLongPtrW(a, sizeof(LONG_PTR)), 0);
    EXPECT_EQ(SetWindowLongPtrW(a, sizeof(LONG_PTR), 0x1234), 0);
    EXPECT_EQ(GetWindowLongPtrW(a, sizeof(LONG_PTR)), 0x1234);
    EXPECT_EQ(GetWindowLongPtrW(b, sizeof(LONG_PTR)), 0) << "each window has its own bytes";
    SetWindowLongW(a, 2, 0x55);
    EXPECT_EQ(GetWindowLongW(a, 2), 0x55) << "unaligned offsets inside the bytes";
    for (int index : {-1 - (int)sizeof(LONG_PTR), 2 * (int)sizeof(LONG_PTR) - 1, 2 * (int)sizeof(LONG_PTR)}) {
        SetLastError(0);
        EXPECT_EQ(GetWindowLongPtrW(a, index), 0) << index;
        EXPECT_EQ(GetLastError(), 1413u) << "ERROR_INVALID_INDEX for " << index;
    }

    // Named fields: the style shows visibility and enabling as they are now.
    EXPECT_EQ(GetWindowLongW(a, GWL_ID), 7);
    EXPECT_EQ(GetWindowLongW(a, GWL_STYLE) & (WS_CHILD | WS_DISABLED), WS_CHILD | WS_DISABLED);
    EnableWindow(a, TRUE);
    EXPECT_EQ(GetWindowLongW(a, GWL_STYLE) & WS_DISABLED, 0);
    EXPECT_EQ(SetWindowLongPtrW(a, GWLP_USERDATA, 99), 0);
    EXPECT_EQ(GetWindowLongPtrW(a, GWLP_USERDATA), 99);
    EXPECT_EQ(GetWindowLongPtrW(a, GWLP_WNDPROC), (LONG_PTR)PlainProc);

    // Text goes through WM_SETTEXT/WM_GETTEXT and is cut to the caller's room.
    EXPECT_TRUE(SetWindowTextW(a, u"second"));
    EXPECT_EQ(GetWindowTextLengthW(a), 6);
    char16_t small[4];
    EXPECT_EQ(GetWindowTextW(a, small, 4), 3);
    EXPECT_EQ(std::u16string(small), u"sec");

    // Children in the order they were made; the owner of a top-level window.
    EXPECT_EQ(GetWindow(top, GW_CHILD), a);
    EXPECT_EQ(GetWindow(a, GW_HWNDNEXT), b);
    EXPECT_EQ(GetWindow(b, GW_HWNDNEXT), nullptr);
    EXPECT_EQ(GetWindow(b, GW_HWNDPREV), a);
    HWND owned = make(u"plain", WS_POPUP, a);
    EXPECT_EQ(GetWindow(owned, GW_OWNER), top);
    EXPECT_EQ(GetWindow(top, GW_HWNDFIRST), owned) << "top-level windows topmost first";
    DestroyWindow(top);
    EXPECT_EQ(GetWindowLongPtrW(a, GWLP_USERDATA), 0);
    EXPECT_EQ(GetLastError(), 1400u);
}

}  // namespace
