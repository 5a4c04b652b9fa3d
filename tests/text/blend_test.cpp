#include "text/blend.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <vector>

namespace tickvane::text {
namespace {

Glyph solid(int width, int height, uint8_t alpha = 255)
{
    return Glyph{0, 0, width, height, width, std::vector<uint8_t>(size_t(width) * size_t(height), alpha)};
}

TEST(BlendPixel, FullCoverageGivesExactColourAndNoneLeavesPixel)
{
    for (uint32_t under : {0x00000000u, 0x00FFFFFFu, 0x00808080u, 0x00123456u}) {
        for (uint32_t colour : {0x00000000u, 0x00FFFFFFu, 0x00FF8000u, 0x000A0B0Cu}) {
            EXPECT_EQ(blend_pixel(under, colour, 255), colour);
            EXPECT_EQ(blend_pixel(under, colour, 0), under);
        }
    }
    EXPECT_EQ(blend_pixel(0x00000000u, 0x00FFFFFFu, 128), 0x00808080u);
    EXPECT_EQ(blend_pixel(0x00FF0000u, 0x000000FFu, 51), 0x00CC0033u);
    EXPECT_EQ(blend_pixel(0xAB000000u, 0x00FFFFFFu, 255), 0xABFFFFFFu);  // top byte kept
    EXPECT_EQ(blend_pixel(0x00000000u, 0xCDFFFFFFu, 255), 0x00FFFFFFu);  // colour's ignored
}

TEST(DrawableArea, IsClipInsideTargetAndEmptyForUnusableTargets)
{
    uint32_t pixels[4 * 3] = {};
    const Target target{pixels, 4, 3, 4};
    const PixelRect area = drawable_area(target, {-5, 1, 99, 99});
    EXPECT_EQ(area.left, 0);
    EXPECT_EQ(area.top, 1);
    EXPECT_EQ(area.right, 4);
    EXPECT_EQ(area.bottom, 3);
    EXPECT_TRUE(drawable_area(target, {3, 0, 2, 3}).empty());  // inverted
    EXPECT_TRUE(drawable_area({nullptr, 4, 3, 4}, {0, 0, 4, 3}).empty());
    EXPECT_TRUE(drawable_area({pixels, 4, 3, 3}, {0, 0, 4, 3}).empty());  // rows overlap
    EXPECT_TRUE(drawable_area({pixels, 0, 3, 4}, {0, 0, 4, 3}).empty());
    EXPECT_FALSE(drawable_area({pixels + 8, 4, 3, -4}, {0, 0, 4, 3}).empty());
}

TEST(BlendGlyph, WritesOnlyInsideTheArea)
{
    std::vector<uint32_t> pixels(6 * 5, 0x00FFFFFF);
    const Target target{pixels.data(), 6, 5, 6};
    const PixelRect area = drawable_area(target, {1, 1, 4, 3});
    blend_glyph(target, area, -2, -2, solid(10, 10), 0x00112233);
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 6; ++x) {
            const bool inside = x >= 1 && x < 4 && y >= 1 && y < 3;
            EXPECT_EQ(pixels[size_t(y * 6 + x)], inside ? 0x00112233u : 0x00FFFFFFu) << x << "," << y;
        }
    }
}

TEST(BlendGlyph, NegativeStrideAddressesRowsFromTheLastStoredRow)
{
    std::vector<uint32_t> pixels(3 * 3, 0);
    const Target bottom_up{pixels.data() + 6, 3, 3, -3};
    blend_glyph(bottom_up, drawable_area(bottom_up, {0, 0, 3, 3}), 1, 0, solid(1, 1), 0x00FFFFFF);
    EXPECT_EQ(pixels[7], 0x00FFFFFFu);  // row 0 of the image is the last stored row
    EXPECT_EQ(std::count(pixels.begin(), pixels.end(), 0u), 8);
}

TEST(BlendGlyph, FarOffPositionsWriteNothing)
{
    std::vector<uint32_t> pixels(4 * 4, 0);
    const Target target{pixels.data(), 4, 4, 4};
    const PixelRect area = drawable_area(target, {0, 0, 4, 4});
    for (long long x : {LLONG_MIN / 4, -11LL, 4LL, (long long)INT_MAX + 10}) {
        for (long long y : {LLONG_MIN / 4, -11LL, 4LL, (long long)INT_MAX + 10}) {
            blend_glyph(target, area, x, y, solid(10, 10), 0x00FFFFFF);
        }
    }
    EXPECT_EQ(std::count(pixels.begin(), pixels.end(), 0u), 16);
}

}  // namespace
}  // namespace tickvane::text
