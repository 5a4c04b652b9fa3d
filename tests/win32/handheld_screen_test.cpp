// The program window with the soft-key bar plays the handheld's screen: the screen's
// size that the clock reads (metrics, HORZRES / VERTRES of a display context) is the
// window's client area through resizing, rotating (F5) and minimising.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "handheld_screen.h"
#include "program_window.h"

namespace {

using tickvane::win32::kDefaultScreen;

// The window's own client area, in device pixels, which the clock never reads.
#pragma push_macro("GetClientRect")
#undef GetClientRect
SIZE device_client(HWND window)
{
    RECT r = {};
    GetClientRect(window, &r);
    return SIZE{r.right, r.bottom};
}
#pragma pop_macro("GetClientRect")

class HandheldScreen : public ::testing::Test {
public:
    void SetUp() override
    {
        tickvane::win32::set_handheld_screen(kDefaultScreen);         // another test may have left it turned
        tickvane::win32::set_handheld_window(nullptr, 1);             // or zoomed
        DeleteFileW(tickvane::win32::handheld_place_file().c_str());  // and its place for the next
        window = tickvane::win32::testing::create_program_window();
        ASSERT_NE(window, nullptr);
        menu = CreateMenu();
        AppendMenuW(menu, MF_STRING, 40003, L"オプション");
        AppendMenuW(menu, MF_STRING, 40002, L"プログラムの終了");
    }
    void TearDown() override
    {
        DestroyWindow(window);
        DestroyMenu(menu);
        DeleteFileW(tickvane::win32::handheld_place_file().c_str());
    }
    // The clock ends, and appears again: a new process, a new window; in between, the
    // stored width may be spoilt.
    void next_appearance(const wchar_t* stored_width = nullptr)
    {
        DestroyWindow(window);
        if (stored_width)
            WritePrivateProfileStringW(L"Handheld", L"ScreenWidth", stored_width,
                                       tickvane::win32::handheld_place_file().c_str());
        tickvane::win32::set_handheld_screen(kDefaultScreen);
        window = tickvane::win32::testing::create_program_window();
        create_bar();
    }
    POINT centre()
    {
        RECT r;
        GetWindowRect(window, &r);
        return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    void create_bar()
    {
        SHMENUBARINFO mbi = {};
        mbi.cbSize = sizeof(mbi);
        mbi.hwndParent = window;
        mbi.dwFlags = SHCMBF_HMENU;
        mbi.nToolBarId = (UINT)(UINT_PTR)menu;
        ASSERT_TRUE(SHCreateMenuBar(&mbi));
    }
    // What the clock would read as its screen, and where the window stands, in one line.
    std::string seen()
    {
        RECT client, frame, work;
        GetClientRect(window, &client);
        GetWindowRect(window, &frame);
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        HDC dc = GetDC(window), memory = CreateCompatibleDC(dc);
        char line[200];
        snprintf(line, sizeof line, "client %ldx%ld metrics %dx%d window dc %dx%d memory dc %dx%d%s", client.right,
                 client.bottom, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                 GetDeviceCaps(dc, HORZRES), GetDeviceCaps(dc, VERTRES), GetDeviceCaps(memory, HORZRES),
                 GetDeviceCaps(memory, VERTRES),
                 frame.left >= work.left && frame.top >= work.top && frame.right <= work.right &&
                         frame.bottom <= work.bottom
                     ? ""
                     : " outside the work area");
        DeleteDC(memory);
        ReleaseDC(window, dc);
        return line;
    }
    static std::string screen(int w, int h)
    {
        char line[200];
        snprintf(line, sizeof line, "client %dx%d metrics %dx%d window dc %dx%d memory dc %dx%d", w, h, w, h, w, h, w,
                 h);
        return line;
    }
    void resize_client(int w, int h)
    {
        RECT r = {0, 0, w, h};
        AdjustWindowRectEx(&r, (DWORD)GetWindowLongW(window, GWL_STYLE), TRUE, 0);
        RECT work;
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);  // as a user drags the frame: inside the desktop
        SetWindowPos(window, nullptr, work.left, work.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER);
    }
    void press_f5() { SendMessageW(window, WM_KEYDOWN, VK_F5, 1); }

    HWND window = nullptr;
    HMENU menu = nullptr;
};

TEST_F(HandheldScreen, OpensInTheMiddleAndTheScreenIsTheClientAreaThroughResizeRotationAndMinimising)
{
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 240) << "before the window plays it, the screen is the default";
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 320);
    create_bar();
    EXPECT_EQ(seen(), screen(240, 320)) << "the window opens as the default screen";
    RECT frame, work;
    GetWindowRect(window, &frame);
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_LE(std::abs((frame.left + frame.right) - (work.left + work.right)), 1) << "not in the middle";
    EXPECT_LE(std::abs((frame.top + frame.bottom) - (work.top + work.bottom)), 1) << "not in the middle";
    EXPECT_NE(GetWindowLongW(window, GWL_STYLE) & WS_THICKFRAME, 0) << "the user can resize it";
    // The program's icon group 128 (this test program carries the clock's) on the title bar,
    // the taskbar and Alt+Tab, though the window's class names none.
    EXPECT_NE(SendMessageW(window, WM_GETICON, ICON_BIG, 0), 0);
    EXPECT_NE(SendMessageW(window, WM_GETICON, ICON_SMALL, 0), 0);

    struct Step {
        const char* what;
        void (*act)(HandheldScreen*);
        int w, h;
    } steps[] = {
        {"F5 rotates", [](HandheldScreen* t) { t->press_f5(); }, 320, 240},
        {"F5 held down repeats nothing", [](HandheldScreen* t) { SendMessageW(t->window, WM_KEYDOWN, VK_F5, 1 << 30); },
         320, 240},
        {"F5 again", [](HandheldScreen* t) { t->press_f5(); }, 240, 320},
        {"made larger", [](HandheldScreen* t) { t->resize_client(480, 640); }, 480, 640},
        {"rotated larger", [](HandheldScreen* t) { t->press_f5(); }, 640, 480},
        {"minimised", [](HandheldScreen* t) { ShowWindow(t->window, SW_MINIMIZE); }, -1, -1},
        {"restored", [](HandheldScreen* t) { ShowWindow(t->window, SW_RESTORE); }, 640, 480},
        {"made too small", [](HandheldScreen* t) { t->resize_client(100, 60); }, 240, 240},
    };
    for (const Step& step : steps) {
        step.act(this);
        if (step.w > 0) {
            EXPECT_EQ(seen(), screen(step.w, step.h)) << step.what;
        } else {  // the client area is gone; the screen keeps its last size
            EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 640) << step.what;
            EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 480) << step.what;
        }
    }
}

// Moved to a 192 dpi monitor, the window shows the same screen with each pixel as 2 x 2:
// its client area doubles, the clock still reads 240 x 320, and what it paints is enlarged.
TEST_F(HandheldScreen, OnADenseMonitorTheScreenIsZoomedByAWholeNumber)
{
    create_bar();
    ShowWindow(window, SW_SHOWNOACTIVATE);
    RECT suggested;
    GetWindowRect(window, &suggested);
    SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(192, 192), (LPARAM)&suggested);
    EXPECT_EQ(tickvane::win32::handheld_zoom(), 2);
    EXPECT_EQ(device_client(window).cx, 480);
    EXPECT_EQ(device_client(window).cy, 640);
    EXPECT_EQ(seen(), screen(240, 320));

    InvalidateRect(window, nullptr, FALSE);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    RECT all = {0, 0, 240, 320};
    FillRect(dc, &all, (HBRUSH)GetStockObject(WHITE_BRUSH));
    SetPixel(dc, 3, 4, RGB(0, 0, 0));
    EndPaint(window, &ps);
    HDC shown = GetDC(window);
    std::string pixels;
    for (POINT p : {POINT{6, 8}, POINT{7, 9}, POINT{5, 8}, POINT{8, 8}, POINT{6, 10}})
        pixels += GetPixel(shown, p.x, p.y) == RGB(0, 0, 0) ? '#' : '.';
    ReleaseDC(window, shown);
    EXPECT_EQ(pixels, "##...") << "the screen's pixel (3, 4) is the window's (6..7, 8..9)";
}

TEST(HandheldZoom, IsTheNearestWholeNumberToTheMonitorsScale)
{
    struct Case {
        UINT dpi;
        int zoom;
    } cases[] = {{0, 1}, {96, 1}, {120, 1}, {144, 2}, {168, 2}, {192, 2}, {240, 3}, {288, 3}};
    for (Case c : cases)
        EXPECT_EQ(tickvane::win32::zoom_for_dpi(c.dpi), c.zoom) << c.dpi << " dpi";
}

TEST_F(HandheldScreen, TheNextAppearanceOpensAsTheLastLeftItUnlessItsPlaceIsUnusable)
{
    create_bar();
    resize_client(300, 400);
    press_f5();
    POINT left_at = centre();
    next_appearance();
    EXPECT_EQ(seen(), screen(400, 300));
    EXPECT_EQ(centre().x, left_at.x);
    EXPECT_EQ(centre().y, left_at.y);

    for (const wchar_t* width : {L"99999", L"12", L"wide"}) {
        next_appearance(width);
        EXPECT_EQ(seen(), screen(240, 320)) << "a stored width of " << testing::PrintToString(std::wstring(width));
    }
}

}  // namespace
