#include "scaled_blit.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tickvane::display {
namespace {

// The bit position of a one-byte mask, or -1 for any other mask.
int byte_shift(unsigned long mask)
{
    for (int shift = 0; shift <= 24; shift += 8)
        if (mask == 0xFFul << shift)
            return shift;
    return -1;
}

uint32_t swap_bytes(uint32_t v) { return (v >> 24) | (v >> 8 & 0xFF00u) | (v << 8 & 0xFF0000u) | (v << 24); }

bool is_screen_order(const PixelLayout& l) { return l.r_shift == 16 && l.g_shift == 8 && l.b_shift == 0; }

uint32_t remap(uint32_t rgb, const PixelLayout& l)
{
    return ((rgb >> 16 & 0xFFu) << l.r_shift) | ((rgb >> 8 & 0xFFu) << l.g_shift) | ((rgb & 0xFFu) << l.b_shift) |
           l.opaque;
}

// Widens one screen row into the first image row of its block. The scale is a constant
// here, so that each block is a few stores rather than a call: a whole frame at zoom 2 is
// most of the work of the first frame.
template <int Scale>
void widen_fixed(const uint32_t* src, int count, const PixelLayout& l, uint32_t* dst)
{
    if (is_screen_order(l)) {
        for (int i = 0; i < count; ++i)
            for (int k = 0; k < Scale; ++k)
                dst[i * Scale + k] = src[i] | l.opaque;
    } else {
        for (int i = 0; i < count; ++i)
            for (int k = 0; k < Scale; ++k)
                dst[i * Scale + k] = remap(src[i], l);
    }
}

// Zoom 2 in the screen's own order, the usual desktop window: four pixels at a time,
// each pair of stores one unpack, then the rest one by one.
void widen_pairs(const uint32_t* src, int count, uint32_t opaque, uint32_t* dst)
{
    int i = 0;
#if defined(__SSE2__)
    const __m128i alpha = _mm_set1_epi32(static_cast<int>(opaque));
    for (; i + 4 <= count; i += 4) {
        __m128i v = _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i)), alpha);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + 2 * i), _mm_unpacklo_epi32(v, v));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + 2 * i + 4), _mm_unpackhi_epi32(v, v));
    }
#endif
    for (; i < count; ++i)
        dst[2 * i] = dst[2 * i + 1] = src[i] | opaque;
}

void widen_row(const uint32_t* src, int count, int scale, const PixelLayout& l, uint32_t* dst)
{
    switch (scale) {
    case 1:
        if (is_screen_order(l) && l.opaque == 0)
            std::memcpy(dst, src, static_cast<size_t>(count) * 4);
        else
            widen_fixed<1>(src, count, l, dst);
        return;
    case 2:
        if (is_screen_order(l))
            widen_pairs(src, count, l.opaque, dst);
        else
            widen_fixed<2>(src, count, l, dst);
        return;
    case 3:
        widen_fixed<3>(src, count, l, dst);
        return;
    default:
        for (int i = 0; i < count; ++i)
            std::fill_n(dst + static_cast<ptrdiff_t>(i) * scale, scale,
                        is_screen_order(l) ? src[i] | l.opaque : remap(src[i], l));
    }
}

}  // namespace

bool layout_for(unsigned long red_mask, unsigned long green_mask, unsigned long blue_mask, int depth, bool byte_swapped,
                PixelLayout& out)
{
    int r = byte_shift(red_mask), g = byte_shift(green_mask), b = byte_shift(blue_mask);
    if (r < 0 || g < 0 || b < 0 || r == g || g == b || r == b)
        return false;
    // Only a 32-bit visual has alpha; the spare byte of a 24-bit one is ignored by the server.
    auto opaque = depth == 32 ? ~static_cast<uint32_t>(red_mask | green_mask | blue_mask) : 0u;
    if (byte_swapped) {
        // A byte at bit 8k lands at bit 24 - 8k once the word is stored the other way round.
        out = PixelLayout{24 - r, 24 - g, 24 - b, swap_bytes(opaque)};
    } else {
        out = PixelLayout{r, g, b, opaque};
    }
    return true;
}

Rect clip_to_screen(const Rect& area, const Pixels& screen, int image_w, int image_h, int scale)
{
    if (scale < 1 || screen.data == nullptr || screen.stride < screen.width)
        return Rect{};
    int right = std::min(screen.width, image_w / scale);
    int bottom = std::min(screen.height, image_h / scale);
    // Computed in 64 bits: a rectangle near INT_MAX must not wrap into the screen.
    long long x0 = std::max<long long>(area.x, 0), y0 = std::max<long long>(area.y, 0);
    long long x1 = std::min<long long>(static_cast<long long>(area.x) + area.w, right);
    long long y1 = std::min<long long>(static_cast<long long>(area.y) + area.h, bottom);
    if (x1 <= x0 || y1 <= y0)
        return Rect{};
    return Rect{static_cast<int>(x0), static_cast<int>(y0), static_cast<int>(x1 - x0), static_cast<int>(y1 - y0)};
}

void blit_scaled(const Pixels& screen, const Rect& area, const ImageBuffer& image, const PixelLayout& layout, int scale)
{
    if (area.w <= 0 || area.h <= 0 || screen.data == nullptr || image.data == nullptr)
        return;
    size_t block_row_bytes = static_cast<size_t>(area.w) * scale * 4;
    auto row = [&](int y) { return image.data + static_cast<ptrdiff_t>(y) * image.bytes_per_line; };
    for (int y = 0; y < area.h; ++y) {
        const uint32_t* src = screen.data + static_cast<ptrdiff_t>(area.y + y) * screen.stride + area.x;
        uint8_t* first = row(y * scale);
        widen_row(src, area.w, scale, layout, reinterpret_cast<uint32_t*>(first));
        for (int k = 1; k < scale; ++k)
            std::memcpy(row(y * scale + k), first, block_row_bytes);
    }
}

}  // namespace tickvane::display
