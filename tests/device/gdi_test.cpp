// Pixel copies and fills in memory bitmaps: clipping at every edge, formats, and
// the object rules the clock's teardown depends on; a window's DC held while it moves.
#include <gtest/gtest.h>

#include "testing.h"
#include "win32.h"

namespace dt = tickvane::device::testing;

namespace {

class Gdi : public ::testing::Test {
protected:
    void SetUp() override
    {
        dt::reset();
        screen_dc = nullptr;
        a = CreateCompatibleDC(screen_dc);
        b = CreateCompatibleDC(screen_dc);
    }
    void TearDown() override
    {
        DeleteDC(a);
        DeleteDC(b);
    }
    // A bitmap of `w` x `h` in the screen format, filled with `colour`, selected into `dc`.
    HBITMAP canvas(HDC dc, int w, int h, COLORREF colour)
    {
        HBITMAP bmp = CreateCompatibleBitmap(nullptr, w, h);  // the screen's format
        SelectObject(dc, bmp);
        RECT r{0, 0, w, h};
        HBRUSH brush = CreateSolidBrush(colour);
        FillRect(dc, &r, brush);
        DeleteObject(brush);
        return bmp;
    }
    HDC screen_dc = nullptr;
    HDC a, b;
};

constexpr COLORREF kRed = RGB(255, 0, 0), kBlue = RGB(0, 0, 255), kWhite = RGB(255, 255, 255);

// The screen's 0x00RRGGBB for a COLORREF.
uint32_t on_screen(COLORREF c) { return (uint32_t)GetRValue(c) << 16 | (uint32_t)GetGValue(c) << 8 | GetBValue(c); }

}  // namespace

TEST_F(Gdi, CopyIsClippedToTheSourceBitmap)
{
    HBITMAP src = canvas(a, 10, 10, kRed);
    HBITMAP dst = canvas(b, 30, 30, kWhite);
    // Asks for 20 x 20 from (5, 5): only the 5 x 5 that exist are copied.
    EXPECT_TRUE(BitBlt(b, 0, 0, 20, 20, a, 5, 5, SRCCOPY));
    EXPECT_EQ(GetPixel(b, 4, 4), kRed);
    EXPECT_EQ(GetPixel(b, 5, 4), kWhite);
    EXPECT_EQ(GetPixel(b, 4, 5), kWhite);
    // A negative source origin shifts the part that exists.
    EXPECT_TRUE(BitBlt(b, 10, 10, 10, 10, a, -3, -2, SRCCOPY));
    EXPECT_EQ(GetPixel(b, 12, 11), kWhite);
    EXPECT_EQ(GetPixel(b, 13, 12), kRed);
    EXPECT_EQ(GetPixel(b, 19, 19), kRed);
    SelectObject(a, nullptr);
    DeleteDC(a);
    DeleteDC(b);
    a = b = nullptr;
    EXPECT_TRUE(DeleteObject(src));
    EXPECT_TRUE(DeleteObject(dst));
}

TEST_F(Gdi, CopyIsClippedToTheDestination)
{
    canvas(a, 10, 10, kBlue);
    canvas(b, 8, 8, kWhite);
    EXPECT_TRUE(BitBlt(b, -4, 5, 10, 10, a, 0, 0, SRCCOPY));
    EXPECT_EQ(GetPixel(b, 0, 5), kBlue);
    EXPECT_EQ(GetPixel(b, 5, 7), kBlue);
    EXPECT_EQ(GetPixel(b, 6, 4), kWhite);
    EXPECT_EQ(GetPixel(b, 6, 5), kWhite);  // source ran out at x = 10 - 4
    EXPECT_TRUE(BitBlt(b, 100, 100, 10, 10, a, 0, 0, SRCCOPY));
    EXPECT_TRUE(BitBlt(b, 0, 0, 0, 5, a, 0, 0, SRCCOPY));
    EXPECT_TRUE(BitBlt(b, 0, 0, -5, 5, a, 0, 0, SRCCOPY));
    EXPECT_FALSE(BitBlt(b, 0, 0, 5, 5, a, 0, 0, 0x00EE0086 /* SRCPAINT */));
    EXPECT_FALSE(BitBlt(nullptr, 0, 0, 5, 5, a, 0, 0, SRCCOPY));
}

TEST_F(Gdi, OverlappingCopyWithinOneBitmapMovesPixelsIntact)
{
    canvas(a, 10, 10, kWhite);
    RECT stripe{0, 0, 10, 1};
    HBRUSH red = CreateSolidBrush(kRed);
    FillRect(a, &stripe, red);
    DeleteObject(red);
    EXPECT_TRUE(BitBlt(a, 0, 1, 10, 9, a, 0, 0, SRCCOPY));  // shift everything down one row
    EXPECT_EQ(GetPixel(a, 3, 0), kRed);
    EXPECT_EQ(GetPixel(a, 3, 1), kRed);
    EXPECT_EQ(GetPixel(a, 3, 2), kWhite) << "a top-down copy would have smeared the stripe";
}

TEST_F(Gdi, FillIsClippedAndTakesEveryKindOfBrush)
{
    canvas(a, 4, 4, kBlue);
    RECT wide{-10, 1, 100, 2};
    EXPECT_EQ(FillRect(a, &wide, (HBRUSH)GetStockObject(WHITE_BRUSH)), 1);
    EXPECT_EQ(GetPixel(a, 0, 1), kWhite);
    EXPECT_EQ(GetPixel(a, 3, 1), kWhite);
    EXPECT_EQ(GetPixel(a, 0, 2), kBlue);
    RECT all{0, 0, 4, 4};
    FillRect(a, &all, (HBRUSH)(uintptr_t)(SYS_COLOR_INDEX_FLAG | COLOR_WINDOW));
    EXPECT_EQ(GetPixel(a, 2, 2), kWhite);
    FillRect(a, &all, (HBRUSH)GetStockObject(BLACK_BRUSH));
    EXPECT_EQ(GetPixel(a, 2, 2), RGB(0, 0, 0));
    FillRect(a, &all, (HBRUSH)GetStockObject(NULL_BRUSH));
    EXPECT_EQ(GetPixel(a, 2, 2), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(a, 4, 0), 0xFFFFFFFFu);
}

TEST_F(Gdi, SelectedBitmapCannotBeDeletedUntilItsDcIs)
{
    size_t before = dt::gdi_object_count();
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bmp = CreateCompatibleBitmap(dc, 4, 4);
    SelectObject(dc, bmp);
    EXPECT_FALSE(DeleteObject(bmp));
    EXPECT_EQ(SelectObject(b, bmp), nullptr) << "a bitmap lives in one DC at a time";
    EXPECT_TRUE(DeleteDC(dc));
    EXPECT_TRUE(DeleteObject(bmp));
    EXPECT_EQ(dt::gdi_object_count(), before);
    EXPECT_FALSE(DeleteObject(bmp));
    EXPECT_TRUE(DeleteObject(GetStockObject(WHITE_BRUSH)));
    EXPECT_NE(GetStockObject(WHITE_BRUSH), nullptr);
}

TEST_F(Gdi, CompatibleBitmapsFollowTheirDc)
{
    EXPECT_EQ(GetDeviceCaps(nullptr, BITSPIXEL), 32);
    // A fresh memory DC holds a monochrome bitmap, so "compatible" with it is monochrome.
    // Each colour drawn there becomes the nearer of black and white.
    HBITMAP mono = CreateCompatibleBitmap(a, 8, 8);
    SelectObject(b, mono);
    const std::pair<COLORREF, COLORREF> cases[] = {{kRed, RGB(0, 0, 0)},
                                                   {RGB(0xC0, 0xC0, 0xC0), kWhite},
                                                   {RGB(0x40, 0x40, 0x40), RGB(0, 0, 0)}};
    for (auto [drawn, kept] : cases) {
        RECT r{0, 0, 8, 8};
        HBRUSH brush = CreateSolidBrush(drawn);
        FillRect(b, &r, brush);
        DeleteObject(brush);
        EXPECT_EQ(GetPixel(b, 1, 1), kept) << std::hex << drawn;
    }
    EXPECT_EQ(CreateCompatibleBitmap(a, -1, 5), nullptr);
    EXPECT_EQ(CreateCompatibleBitmap(a, 100000, 5), nullptr);
}

TEST_F(Gdi, GlyphSheetsLoadInTheirOwnFormats)
{
    HBITMAP small = LoadBitmapW(dt::instance(), MAKEINTRESOURCEW(121));
    HBITMAP large = LoadBitmapW(dt::instance(), MAKEINTRESOURCEW(122));
    ASSERT_NE(small, nullptr);
    ASSERT_NE(large, nullptr);
    SelectObject(a, small);
    EXPECT_EQ(GetPixel(a, 239, 89), kWhite);
    EXPECT_EQ(GetPixel(a, 240, 0), 0xFFFFFFFFu);
    // The SUN badge's red and the SAT badge's blue come through the palette.
    bool red = false, blue = false;
    for (int y = 50; y < 81; ++y)
        for (int x = 0; x < 15; ++x) {
            red = red || GetPixel(a, 180 + x, y) == RGB(224, 32, 64);
            blue = blue || GetPixel(a, 100 + x, y) == RGB(64, 96, 192);
        }
    EXPECT_TRUE(red);
    EXPECT_TRUE(blue);
    SelectObject(a, large);
    EXPECT_EQ(GetPixel(a, 868, 127), kWhite);
    EXPECT_EQ(GetPixel(a, 869, 0), 0xFFFFFFFFu);
    // Drawing into a loaded sheet leaves the program's resources as they were.
    RECT r{0, 0, 869, 128};
    FillRect(a, &r, (HBRUSH)GetStockObject(BLACK_BRUSH));
    HBITMAP again = LoadBitmapW(dt::instance(), MAKEINTRESOURCEW(122));
    SelectObject(b, again);
    EXPECT_EQ(GetPixel(b, 868, 127), kWhite);
    EXPECT_EQ(LoadBitmapW(dt::instance(), MAKEINTRESOURCEW(999)), nullptr);
    EXPECT_EQ(LoadBitmapW(nullptr, MAKEINTRESOURCEW(121)), nullptr);
}

TEST_F(Gdi, AWindowsDcDrawsWhereTheWindowIsNowAndNothingOnceItIsGone)
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = dt::instance();
    wc.lpszClassName = u"held";
    ASSERT_NE(RegisterClassW(&wc), 0);
    HWND hwnd = CreateWindowExW(0, u"held", u"", WS_POPUP | WS_VISIBLE, 10, 40, 40, 30, nullptr, nullptr,
                                dt::instance(), nullptr);
    ASSERT_NE(hwnd, nullptr);
    HDC dc = GetDC(hwnd);  // made once, held across every move
    ASSERT_NE(dc, nullptr);
    // Each fill goes through the DC made before the move, and shows at the window's new place
    // only; a second fill in place shows too, by its own damage alone.
    const struct {
        int x, y;
        COLORREF colour;
    } moves[] = {{10, 40, kRed}, {120, 90, kBlue}, {30, 200, kRed}};
    RECT all{0, 0, 40, 30};
    for (size_t i = 0; i < std::size(moves); ++i) {
        auto [x, y, colour] = moves[i];
        SetWindowPos(hwnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        for (COLORREF c : {colour, kWhite}) {
            HBRUSH brush = CreateSolidBrush(c);
            EXPECT_EQ(FillRect(dc, &all, brush), 1);
            DeleteObject(brush);
            EXPECT_EQ(GetPixel(dc, 39, 29), c) << "move " << i;
            EXPECT_EQ(dt::screen_pixel(x + 39, y + 29), on_screen(c)) << "move " << i;
        }
        if (i > 0) {
            EXPECT_NE(dt::screen_pixel(moves[i - 1].x, moves[i - 1].y), on_screen(kWhite)) << "move " << i;
        }
    }
    DestroyWindow(hwnd);
    EXPECT_EQ(FillRect(dc, &all, (HBRUSH)GetStockObject(WHITE_BRUSH)), 0);
    EXPECT_EQ(GetPixel(dc, 0, 0), 0xFFFFFFFFu);
    EXPECT_EQ(ReleaseDC(hwnd, dc), 1);
    EXPECT_EQ(ReleaseDC(hwnd, dc), 0);
    EXPECT_EQ(ReleaseDC(nullptr, a), 0) << "a memory DC is not released";
    EXPECT_NE(GetPixel(a, 0, 0), 0xFFFFFFFFu);
}
