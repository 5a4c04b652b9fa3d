// A screen whose every pixel differs from its neighbours, so that a misplaced,
// unscaled or channel-swapped pixel shows up in a comparison.
#pragma once

#include <cstdint>
#include <vector>

#include "display/display.h"

namespace tickvane::display::testing {

inline uint32_t pattern_pixel(int x, int y, uint32_t salt = 0)
{
    auto r = static_cast<uint32_t>(x * 7 + y) & 0xFF, g = static_cast<uint32_t>(y * 5) & 0xFF;
    return ((r << 16) | (g << 8) | (static_cast<uint32_t>(x ^ y) & 0xFF)) ^ salt;
}

// Rows are longer than the screen, as the device's may be; the padding must never show.
struct Framebuffer {
    int width, height, stride;
    std::vector<uint32_t> words;

    Framebuffer(int w, int h, uint32_t salt = 0)
        : width(w), height(h), stride(w + 3), words(static_cast<size_t>(stride) * h, 0xFF00FF)
    {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                at(x, y) = pattern_pixel(x, y, salt);
    }
    uint32_t& at(int x, int y) { return words[static_cast<size_t>(y) * stride + x]; }
    Pixels pixels() const { return Pixels{words.data(), width, height, stride}; }
};

}  // namespace tickvane::display::testing
