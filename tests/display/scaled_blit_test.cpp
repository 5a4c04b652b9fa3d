#include <gtest/gtest.h>

#include <climits>
#include <cstring>

#include "sdl/scaled_blit.h"
#include "test_pattern.h"

using namespace tickvane::display;
using namespace tickvane::display::testing;

namespace {

uint32_t as_rgb(const SDL_PixelFormat* format, Uint32 value) {
    Uint8 r, g, b;
    SDL_GetRGB(value, format, &r, &g, &b);
    return static_cast<uint32_t>(r << 16 | g << 8 | b);
}

class ScaledBlit : public ::testing::TestWithParam<std::pair<Uint32, int>> {};

// Surface formats beyond the usual X11 one: alpha (Wayland), swapped, 16- and 24-bit.
TEST_P(ScaledBlit, FillsExactlyTheScaledAreaWithOpaqueNearestNeighbours) {
    auto [format, scale] = GetParam();
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, 40 * scale, 30 * scale, 32, format);
    ASSERT_NE(s, nullptr);
    SDL_FillRect(s, nullptr, SDL_MapRGB(s->format, 0x12, 0x34, 0x56));
    Framebuffer screen(40, 30);
    blit_scaled(screen.pixels(), clip_to_screen({5, 7, 11, 40}, screen.pixels(), s->w, s->h, scale), s, scale);

    for (int y = 0; y < s->h; ++y) {
        for (int x = 0; x < s->w; ++x) {
            Uint32 got = 0;
            std::memcpy(&got, static_cast<uint8_t*>(s->pixels) + y * s->pitch + x * s->format->BytesPerPixel,
                        s->format->BytesPerPixel);
            int sx = x / scale, sy = y / scale;
            uint32_t want = sx >= 5 && sx < 16 && sy >= 7 ? pattern_pixel(sx, sy) : 0x123456;
            Uint32 mapped = SDL_MapRGB(s->format, want >> 16 & 0xFF, want >> 8 & 0xFF, want & 0xFF);
            ASSERT_EQ(as_rgb(s->format, got), as_rgb(s->format, mapped)) << x << "," << y;
            ASSERT_EQ(got & s->format->Amask, s->format->Amask) << "a window never shows through";
        }
    }
    SDL_FreeSurface(s);
}

INSTANTIATE_TEST_SUITE_P(Formats, ScaledBlit,
                         ::testing::Values(std::pair(SDL_PIXELFORMAT_RGB888, 1), std::pair(SDL_PIXELFORMAT_ARGB8888, 3),
                                           std::pair(SDL_PIXELFORMAT_BGR888, 2), std::pair(SDL_PIXELFORMAT_RGB565, 2),
                                           std::pair(SDL_PIXELFORMAT_RGB24, 3)));

TEST(ClipToScreen, KeepsAreasInsideTheScreenAndTheSurface) {
    Framebuffer screen(40, 30);
    auto clip = [&](Rect r, int surface_w = 80, int surface_h = 60) {
        Rect c = clip_to_screen(r, screen.pixels(), surface_w, surface_h, 2);
        return std::vector<int>{c.x, c.y, c.w, c.h};
    };
    EXPECT_EQ(clip({-5, -5, 10, 10}), (std::vector<int>{0, 0, 5, 5}));
    EXPECT_EQ(clip({0, 0, 40, 30}, 60, 80), (std::vector<int>{0, 0, 30, 30}));  // surface not yet rotated
    EXPECT_EQ(clip({INT_MAX - 1, 0, INT_MAX, 5}), (std::vector<int>{0, 0, 0, 0}));
    EXPECT_EQ(clip({INT_MIN, INT_MIN, INT_MAX, INT_MAX}), (std::vector<int>{0, 0, 0, 0}));
}

}  // namespace
