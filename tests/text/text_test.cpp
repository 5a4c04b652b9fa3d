#include "text/text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>
#include <vector>

namespace tickvane::text {
namespace {

constexpr uint32_t kPaper = 0x00FFFFFF;

const std::u16string_view kDeviceStrings[] = {
    u"Tickvane", u"オプション", u"プログラムの終了", u"終了しますか？", u"０分０秒は設定できません", u"適用", u"閉じる",
    u"秒",       u"分",
};

struct Canvas {
    int width, height;
    std::vector<uint32_t> pixels;
    Canvas(int w, int h, uint32_t fill = kPaper) : width(w), height(h), pixels(size_t(w) * size_t(h), fill) {}
    Target target() { return {pixels.data(), width, height, width}; }
    PixelRect whole() const { return {0, 0, width, height}; }
    uint32_t at(int x, int y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
    int ink(uint32_t paper = kPaper) const
    {
        return int(std::count_if(pixels.begin(), pixels.end(), [&](uint32_t p) { return p != paper; }));
    }
};

TEST(Text, FamilyIsVlGothic) { EXPECT_STREQ(family(), "VL Gothic"); }

// GDI's font height (what dialog units count in) comes from the font's Windows ascent
// and descent, 1000 and 270 per 1000 units in VL Gothic, each rounded: 11 + 3 at 11 px,
// 13 + 4 at 13 px. FreeType's own line metrics follow the smaller typographic ones.
TEST(Text, GdiHeightComesFromTheFontsWindowsAscentAndDescent)
{
    ASSERT_STREQ(family(), "VL Gothic");
    EXPECT_EQ(measure(u"A", 11).gdi_height, 14);
    EXPECT_EQ(measure(u"A", 13).gdi_height, 17);
    const Extent e = measure(u"A", 11);
    EXPECT_LT(e.ascent + e.descent, e.gdi_height);
}

// Every device string at the small UI sizes: ink shows, stays in the measured box,
// and the advance that draw reports is the measured width.
TEST(Text, DeviceStringsInkInsideTheirMeasuredBox)
{
    for (int size : {12, 13, 14}) {
        for (std::u16string_view text : kDeviceStrings) {
            const Extent extent = measure(text, size);
            ASSERT_GT(extent.width, 0);
            ASSERT_GT(extent.ascent, 0);
            Canvas canvas(extent.width + 20, 40);
            const int x = 10, baseline = 25;
            EXPECT_EQ(draw(canvas.target(), canvas.whole(), x, baseline, text, size, 0), extent.width);
            EXPECT_GT(canvas.ink(), int(text.size()) * size / 2) << size;  // more than specks
            for (int y = 0; y < canvas.height; ++y) {
                for (int px = 0; px < canvas.width; ++px) {
                    const bool in_box = px >= x && px < x + extent.width && y >= baseline - extent.ascent &&
                                        y < baseline + extent.descent;
                    if (!in_box) {
                        ASSERT_EQ(canvas.at(px, y), kPaper) << size << " at " << px << "," << y;
                    }
                }
            }
        }
    }
}

TEST(Text, ClippedDrawingIsTheUnclippedDrawingCutToTheClip)
{
    const std::u16string_view text = u"０分０秒は設定できません";
    Canvas full(200, 30), clipped(200, 30);
    draw(full.target(), full.whole(), -7, 20, text, 14, 0x00000080);
    const PixelRect clip{23, 9, 97, 17};
    draw(clipped.target(), clip, -7, 20, text, 14, 0x00000080);
    int inside_ink = 0;
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 200; ++x) {
            const bool inside = x >= clip.left && x < clip.right && y >= clip.top && y < clip.bottom;
            ASSERT_EQ(clipped.at(x, y), inside ? full.at(x, y) : kPaper) << x << "," << y;
            inside_ink += inside && clipped.at(x, y) != kPaper;
        }
    }
    EXPECT_GT(inside_ink, 20);
}

// Drawing white on black shows the coverage; wherever that is full, the colour must be exact.
TEST(Text, FullyCoveredPixelsTakeTheExactColour)
{
    const std::u16string_view text = u"終了■";
    Canvas coverage(120, 40, 0), coloured(120, 40, 0x00336699);
    draw(coverage.target(), coverage.whole(), 2, 30, text, 28, 0x00FFFFFF);
    draw(coloured.target(), coloured.whole(), 2, 30, text, 28, 0x00FF8001);
    int full = 0;
    for (size_t i = 0; i < coverage.pixels.size(); ++i) {
        if (coverage.pixels[i] == 0x00FFFFFF) {
            ++full;
            ASSERT_EQ(coloured.pixels[i], 0x00FF8001u);
        } else if (coverage.pixels[i] == 0) {
            ASSERT_EQ(coloured.pixels[i], 0x00336699u);
        }
    }
    EXPECT_GT(full, 100);
}

TEST(Text, EmptyAndControlOnlyStringsDrawNothing)
{
    Canvas canvas(40, 20);
    for (std::u16string_view text : {std::u16string_view{}, std::u16string_view{u"\r\n\t"}}) {
        const Extent extent = measure(text, 13);
        EXPECT_EQ(extent.width, 0);
        EXPECT_GT(extent.ascent, 0);  // line metrics still serve layout
        EXPECT_EQ(draw(canvas.target(), canvas.whole(), 5, 15, text, 13, 0), 0);
    }
    EXPECT_EQ(canvas.ink(), 0);
}

TEST(Text, UnpairedSurrogatesAreSafeAndConsistent)
{
    const std::u16string strings[] = {u"\xD800", u"\xDC00", u"終\xD83D", u"\xDE00了", u"\xD83D\xD83D終"};
    for (const std::u16string& text : strings) {
        Canvas canvas(80, 20);
        const int width = measure(text, 13).width;
        EXPECT_EQ(draw(canvas.target(), canvas.whole(), 0, 15, text, 13, 0), width);
        EXPECT_GT(width, 0);  // drawn as a replacement, not dropped with its neighbours
    }
    // A lone surrogate takes the room of one replacement character.
    EXPECT_EQ(measure(u"終\xD800了", 13).width, measure(u"終\xFFFD了", 13).width);
}

TEST(Text, BadArgumentsNeverWriteOutsideOrCrash)
{
    Canvas canvas(30, 20);
    for (int size : {0, -3, 100000, INT_MIN}) {
        EXPECT_EQ(measure(u"秒", size).width, 0) << size;
        EXPECT_EQ(draw(canvas.target(), canvas.whole(), 5, 15, u"秒", size, 0), 0) << size;
    }
    const int width = measure(u"秒", 13).width;
    // No pixels, rows shorter than the width, an inverted clip, a far-off pen.
    EXPECT_EQ(draw({nullptr, 30, 20, 30}, canvas.whole(), 0, 15, u"秒", 13, 0), width);
    EXPECT_EQ(draw({canvas.pixels.data(), 30, 20, 10}, canvas.whole(), 0, 15, u"秒", 13, 0), width);
    EXPECT_EQ(draw(canvas.target(), {30, 20, 0, 0}, 0, 15, u"秒", 13, 0), width);
    draw(canvas.target(), canvas.whole(), INT_MAX - 3, INT_MIN + 2, u"秒秒", 13, 0);
    draw(canvas.target(), canvas.whole(), INT_MIN, INT_MAX, u"秒秒", 13, 0);
    EXPECT_EQ(canvas.ink(), 0);
}

}  // namespace
}  // namespace tickvane::text
