#include "text/blend.h"

#include <algorithm>
#include <cstddef>
#include <cstdlib>

namespace tickvane::text {

namespace {

uint32_t mix_channel(uint32_t under, uint32_t over, uint32_t alpha)
{
    return (over * alpha + under * (255 - alpha) + 127) / 255;
}

uint32_t* row_of(const Target& target, int y) { return target.pixels + static_cast<std::ptrdiff_t>(y) * target.stride; }

}  // namespace

PixelRect drawable_area(const Target& target, const PixelRect& clip)
{
    const bool usable = target.pixels != nullptr && target.width > 0 && target.height > 0 &&
                        std::abs(static_cast<long long>(target.stride)) >= target.width;
    if (!usable)
        return {};
    return intersection(clip, PixelRect{0, 0, target.width, target.height});
}

uint32_t blend_pixel(uint32_t under, uint32_t colour, uint8_t alpha)
{
    uint32_t out = under & 0xFF000000u;
    for (int shift = 0; shift <= 16; shift += 8) {
        const uint32_t mixed = mix_channel((under >> shift) & 0xFF, (colour >> shift) & 0xFF, alpha);
        out |= mixed << shift;
    }
    return out;
}

void blend_glyph(const Target& target, const PixelRect& area, long long x, long long y, const Glyph& glyph,
                 uint32_t colour)
{
    if (area.empty() || glyph.width <= 0 || glyph.height <= 0)
        return;
    // Glyph columns and rows that land inside the area.
    const long long first_col = std::max(0LL, area.left - x);
    const long long end_col = std::min<long long>(glyph.width, area.right - x);
    const long long first_row = std::max(0LL, area.top - y);
    const long long end_row = std::min<long long>(glyph.height, area.bottom - y);
    for (long long gy = first_row; gy < end_row; ++gy) {
        uint32_t* row = row_of(target, static_cast<int>(y + gy));
        const uint8_t* cover = glyph.coverage.data() + gy * glyph.width;
        for (long long gx = first_col; gx < end_col; ++gx) {
            const uint8_t alpha = cover[gx];
            if (alpha == 0)
                continue;
            uint32_t& pixel = row[x + gx];
            pixel = blend_pixel(pixel, colour, alpha);
        }
    }
}

}  // namespace tickvane::text
