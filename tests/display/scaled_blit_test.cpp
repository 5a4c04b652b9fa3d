#include <gtest/gtest.h>

#include <climits>
#include <cstring>

#include "test_pattern.h"
#include "x11/scaled_blit.h"

using namespace tickvane::display;
using namespace tickvane::display::testing;

namespace {

constexpr uint8_t kUntouched = 0xAB;

// An image as X hands one over: 4 bytes a pixel, rows padded past the last pixel.
struct TestImage {
    int width, height, bytes_per_line;
    std::vector<uint8_t> bytes;
    TestImage(int w, int h) : width(w), height(h), bytes_per_line(w * 4 + 8), bytes(bytes_per_line * h, kUntouched) {}
    ImageBuffer buffer() { return ImageBuffer{bytes.data(), width, height, bytes_per_line}; }
    uint32_t word(int x, int y) const
    {
        uint32_t v = 0;
        std::memcpy(&v, bytes.data() + y * bytes_per_line + x * 4, 4);
        return v;
    }
};

uint32_t reversed(uint32_t v) { return v >> 24 | (v >> 8 & 0xFF00) | (v << 8 & 0xFF0000) | v << 24; }

struct Visual {
    unsigned long r, g, b;
    int depth;
    bool swapped;
    int scale;
    // What the X server reads from a stored word: 0x00RRGGBB, and whether its alpha is full.
    uint32_t rgb(uint32_t stored) const
    {
        uint32_t v = swapped ? reversed(stored) : stored;
        auto channel = [&](unsigned long mask) { return static_cast<uint32_t>((v & mask) / (mask & -mask)); };
        return channel(r) << 16 | channel(g) << 8 | channel(b);
    }
    bool opaque(uint32_t stored) const
    {
        uint32_t alpha = ~static_cast<uint32_t>(r | g | b);
        return depth != 32 || ((swapped ? reversed(stored) : stored) & alpha) == alpha;
    }
};

class ScaledBlit : public ::testing::TestWithParam<Visual> {};

TEST_P(ScaledBlit, FillsExactlyTheScaledAreaWithOpaqueNearestNeighbours)
{
    Visual v = GetParam();
    PixelLayout layout;
    ASSERT_TRUE(layout_for(v.r, v.g, v.b, v.depth, v.swapped, layout));
    TestImage image(40 * v.scale, 30 * v.scale);
    Framebuffer screen(40, 30);
    Rect area = clip_to_screen({5, 7, 11, 40}, screen.pixels(), image.width, image.height, v.scale);
    ImageBuffer at_area = image.buffer();  // the area lands at the image's top-left: start it there
    at_area.data += area.y * v.scale * image.bytes_per_line + area.x * v.scale * 4;
    blit_scaled(screen.pixels(), area, at_area, layout, v.scale);

    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            int sx = x / v.scale, sy = y / v.scale;
            uint32_t got = image.word(x, y);
            if (sx >= 5 && sx < 16 && sy >= 7) {
                ASSERT_EQ(v.rgb(got), pattern_pixel(sx, sy)) << x << "," << y;
                ASSERT_TRUE(v.opaque(got)) << "a window never shows through, " << x << "," << y;
            } else {
                ASSERT_EQ(got, 0xABABABABu) << "outside the area " << x << "," << y;
            }
        }
    }
    for (int y = 0; y < image.height; ++y)  // the row padding is never written
        for (int i = image.width * 4; i < image.bytes_per_line; ++i)
            ASSERT_EQ(image.bytes[y * image.bytes_per_line + i], kUntouched) << i << "," << y;
}

// The usual 24-bit visual (copied as is at zoom 1, widened at 2 and 4), 32-bit with alpha,
// swapped channels, and a server of the other byte order.
INSTANTIATE_TEST_SUITE_P(
    Visuals, ScaledBlit,
    ::testing::Values(Visual{0xFF0000, 0xFF00, 0xFF, 24, false, 1}, Visual{0xFF0000, 0xFF00, 0xFF, 24, false, 2},
                      Visual{0xFF0000, 0xFF00, 0xFF, 24, false, 4}, Visual{0xFF0000, 0xFF00, 0xFF, 32, false, 2},
                      Visual{0xFF0000, 0xFF00, 0xFF, 32, false, 3}, Visual{0xFF, 0xFF00, 0xFF0000, 24, false, 2},
                      Visual{0xFF0000, 0xFF00, 0xFF, 24, true, 2}, Visual{0xFF00, 0xFF0000, 0xFF000000, 32, true, 1}));

TEST(PixelLayoutFor, AcceptsOnlyWholeBytesPerChannel)
{
    PixelLayout layout;
    EXPECT_FALSE(layout_for(0xF800, 0x7E0, 0x1F, 16, false, layout));           // 5-6-5
    EXPECT_FALSE(layout_for(0x3FF00000, 0xFFC00, 0x3FF, 30, false, layout));    // 10 bits a channel
    EXPECT_FALSE(layout_for(0xFF0000, 0xFF0000, 0xFF, 24, false, layout));      // two channels in one byte
    EXPECT_FALSE(layout_for(0xFF00000000ul, 0xFF00, 0xFF, 24, false, layout));  // beyond 32 bits
}

TEST(ClipToScreen, KeepsAreasInsideTheScreenAndTheImage)
{
    Framebuffer screen(40, 30);
    auto clip = [&](Rect r, int image_w = 80, int image_h = 60) {
        Rect c = clip_to_screen(r, screen.pixels(), image_w, image_h, 2);
        return std::vector<int>{c.x, c.y, c.w, c.h};
    };
    EXPECT_EQ(clip({-5, -5, 10, 10}), (std::vector<int>{0, 0, 5, 5}));
    EXPECT_EQ(clip({0, 0, 40, 30}, 60, 80), (std::vector<int>{0, 0, 30, 30}));  // image not yet rotated
    EXPECT_EQ(clip({0, 0, 40, 30}, 0, 0), (std::vector<int>{0, 0, 0, 0}));      // no image at all
    EXPECT_EQ(clip({INT_MAX - 1, 0, INT_MAX, 5}), (std::vector<int>{0, 0, 0, 0}));
    EXPECT_EQ(clip({INT_MIN, INT_MIN, INT_MAX, INT_MAX}), (std::vector<int>{0, 0, 0, 0}));
}

}  // namespace
