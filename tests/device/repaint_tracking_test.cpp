// A face repainted over the last one: the device skips fills and copies that would put
// back what is already there, and copies into a window only what its source changed.
// Long random paint sequences, mostly repeats, must leave exactly the pixels that a plain
// pixel-by-pixel model of FillRect and BitBlt gives.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "testing.h"
#include "win32.h"

namespace dt = tickvane::device::testing;

namespace {

constexpr int kW = 48, kH = 40;  // the picture; every operation below stays inside it

struct Model {
    std::vector<COLORREF> px = std::vector<COLORREF>(kW * kH, 0);
    void fill(const RECT& r, COLORREF c)
    {
        for (LONG y = r.top; y < r.bottom; ++y)
            for (LONG x = r.left; x < r.right; ++x)
                px[y * kW + x] = c;
    }
    void copy(const Model& from, int x, int y, int w, int h, int sx, int sy)
    {
        std::vector<COLORREF> src = from.px;  // as BitBlt within one bitmap: read all, then write
        for (int j = 0; j < h; ++j)
            for (int i = 0; i < w; ++i)
                px[(y + j) * kW + x + i] = src[(sy + j) * kW + sx + i];
    }
};

// The pixels `dc` shows, each against the model; the first difference is reported.
::testing::AssertionResult shows(HDC dc, const Model& m, int x0 = 0, int y0 = 0)
{
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x)
            if (COLORREF got = GetPixel(dc, x0 + x, y0 + y); got != m.px[y * kW + x])
                return ::testing::AssertionFailure()
                       << "pixel " << x << "," << y << " is " << std::hex << got << ", not " << m.px[y * kW + x];
    return ::testing::AssertionSuccess();
}

void fill(HDC dc, Model& m, const RECT& r, COLORREF c)
{
    HBRUSH brush = CreateSolidBrush(c);
    FillRect(dc, &r, brush);
    DeleteObject(brush);
    m.fill(r, c);
}

// A sheet of distinct pixels to copy glyphs from.
void draw_sheet(HDC dc, Model& m, int salt)
{
    for (int y = 0; y < kH; y += 4)
        for (int x = 0; x < kW; x += 4)
            fill(dc, m, RECT{x, y, x + 4, y + 4}, RGB(x * 5, y * 6, (x + y + salt) & 0xFF));
}

struct Glyph {
    int x, y, w, h;
};

// Glyph boxes as a face has them, with two that overlap and one past the fill's edge.
constexpr Glyph kBoxes[] = {{2, 2, 6, 8},     {10, 2, 6, 8},   {18, 2, 6, 8},   {2, 14, 12, 20},
                            {16, 14, 12, 20}, {26, 20, 8, 10}, {30, 26, 8, 10}, {40, 30, 8, 10}};
constexpr RECT kFace{0, 0, 44, kH};

class RepaintTracking : public ::testing::Test {
protected:
    void SetUp() override
    {
        dt::reset();
        sheet_dc = CreateCompatibleDC(nullptr);
        back_dc = CreateCompatibleDC(nullptr);
        sheet = CreateCompatibleBitmap(nullptr, kW, kH);
        back = CreateCompatibleBitmap(nullptr, kW, kH);
        SelectObject(sheet_dc, sheet);
        SelectObject(back_dc, back);
        draw_sheet(sheet_dc, sheet_model, 0);
    }
    void TearDown() override
    {
        DeleteDC(sheet_dc);
        DeleteDC(back_dc);
        DeleteObject(sheet);
        DeleteObject(back);
    }
    // One paint: the fill, then copies of the boxes from sheet columns that `rng` mostly
    // keeps as they were, now and then one left out or something else in between.
    void paint(std::mt19937& rng, std::vector<int>& columns)
    {
        auto chance = [&](int in) { return rng() % in == 0; };
        fill(back_dc, back_model, chance(15) ? RECT{0, 0, 40, 30} : kFace,
             chance(20) ? RGB(0, 0, 0) : RGB(255, 255, 255));
        for (size_t i = 0; i < std::size(kBoxes); ++i) {
            if (chance(6))
                columns[i] = (int)(rng() % 4) * 2;
            const Glyph& g = kBoxes[i];
            if (chance(8))  // a glyph left out this time: under the ones above it, the fill shows
                continue;
            if (chance(25)) {  // the same box from the picture itself, a little higher
                BitBlt(back_dc, g.x, g.y, g.w, g.h - 1, back_dc, g.x, g.y + 1, SRCCOPY);
                back_model.copy(back_model, g.x, g.y, g.w, g.h - 1, g.x, g.y + 1);
                continue;
            }
            if (chance(30)) {  // a read in the middle of the paint
                ASSERT_TRUE(shows(back_dc, back_model));
            }
            BitBlt(back_dc, g.x, g.y, g.w, g.h, sheet_dc, columns[i], 0, SRCCOPY);
            back_model.copy(sheet_model, g.x, g.y, g.w, g.h, columns[i], 0);
        }
        if (chance(12))  // the sheet itself changes
            draw_sheet(sheet_dc, sheet_model, (int)rng());
    }
    HDC sheet_dc = nullptr, back_dc = nullptr;
    HBITMAP sheet = nullptr, back = nullptr;
    Model sheet_model, back_model;
};

LRESULT CALLBACK plain_proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace

TEST_F(RepaintTracking, RepaintsLeaveWhatPlainFillsAndCopiesWould)
{
    std::mt19937 rng(12);
    std::vector<int> columns(std::size(kBoxes), 0);
    for (int i = 0; i < 400; ++i) {
        paint(rng, columns);
        ASSERT_TRUE(shows(back_dc, back_model)) << "after paint " << i;
    }
}

TEST_F(RepaintTracking, WindowGetsWhatTheBackBufferShows)
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = plain_proc;
    wc.hInstance = dt::instance();
    wc.lpszClassName = u"plain";
    ASSERT_NE(RegisterClassW(&wc), 0);
    HWND hwnd = CreateWindowExW(0, u"plain", u"plain", WS_SYSMENU, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                CW_USEDEFAULT, nullptr, nullptr, dt::instance(), nullptr);
    ASSERT_NE(hwnd, nullptr);
    ShowWindow(hwnd, SW_SHOW);
    std::mt19937 rng(7);
    std::vector<int> columns(std::size(kBoxes), 0);
    Model window_model;
    for (int i = 0; i < 300; ++i) {
        paint(rng, columns);
        HDC window_dc = GetDC(hwnd);
        if (rng() % 10 == 0)  // the window drawn on by something else in between
            fill(window_dc, window_model, RECT{5, 5, 30, 12}, RGB(9, 9, 9));
        // Now and then at another place, which must not pass for a repeat.
        int x = rng() % 8 == 0 ? 3 : 0;
        BitBlt(window_dc, x, 0, kW - x, kH, back_dc, 0, 0, SRCCOPY);
        window_model.copy(back_model, x, 0, kW - x, kH, 0, 0);
        ASSERT_TRUE(shows(window_dc, window_model)) << "after paint " << i;
        ReleaseDC(hwnd, window_dc);
    }
}
