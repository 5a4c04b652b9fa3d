#include "scaled_blit.h"

#include <algorithm>
#include <cstring>

namespace tickvane::display {
namespace {

// Where an 8-bit-per-channel 32-bit surface keeps red, green and blue.
struct Layout32 {
    int r_shift = 16, g_shift = 8, b_shift = 0;
    uint32_t opaque = 0;  // alpha bits set so a window never shows through
    bool same_as_screen() const { return r_shift == 16 && g_shift == 8 && b_shift == 0; }
};

bool layout_of(const SDL_PixelFormat& f, Layout32& out) {
    if (f.BytesPerPixel != 4 || f.Rloss != 0 || f.Gloss != 0 || f.Bloss != 0) return false;
    out = Layout32{f.Rshift, f.Gshift, f.Bshift, f.Amask};
    return true;
}

uint32_t remap(uint32_t rgb, const Layout32& l) {
    return ((rgb >> 16 & 0xFFu) << l.r_shift) | ((rgb >> 8 & 0xFFu) << l.g_shift) | ((rgb & 0xFFu) << l.b_shift) |
           l.opaque;
}

uint8_t* surface_row(SDL_Surface* s, int y) { return static_cast<uint8_t*>(s->pixels) + static_cast<ptrdiff_t>(y) * s->pitch; }

// Widens one screen row into the first destination row of its block.
void widen_row_32(const uint32_t* src, int count, int scale, const Layout32& l, uint32_t* dst) {
    if (scale == 1 && l.same_as_screen() && l.opaque == 0) {
        std::memcpy(dst, src, static_cast<size_t>(count) * 4);
        return;
    }
    bool same = l.same_as_screen();
    for (int i = 0; i < count; ++i) {
        uint32_t v = same ? src[i] | l.opaque : remap(src[i], l);
        std::fill_n(dst + static_cast<ptrdiff_t>(i) * scale, scale, v);
    }
}

// Any other format: SDL converts the row in place at the block's start, then each
// converted pixel is spread over `scale` pixels, working right to left so nothing
// is overwritten before it has been read.
void widen_row_converted(const uint32_t* src, int count, int scale, SDL_Surface* s, uint8_t* dst) {
    int bpp = s->format->BytesPerPixel;
    SDL_ConvertPixels(count, 1, SDL_PIXELFORMAT_RGB888, src, count * 4, s->format->format, dst, s->pitch);
    for (int i = count - 1; scale > 1 && i >= 0; --i) {
        for (int k = scale - 1; k >= 0; --k) {
            std::memmove(dst + (static_cast<ptrdiff_t>(i) * scale + k) * bpp, dst + static_cast<ptrdiff_t>(i) * bpp,
                         static_cast<size_t>(bpp));
        }
    }
}

}  // namespace

Rect clip_to_screen(const Rect& area, const Pixels& screen, int surface_w, int surface_h, int scale) {
    if (scale < 1 || screen.data == nullptr || screen.stride < screen.width) return Rect{};
    int right = std::min(screen.width, surface_w / scale);
    int bottom = std::min(screen.height, surface_h / scale);
    // Computed in 64 bits: a rectangle near INT_MAX must not wrap into the screen.
    long long x0 = std::max<long long>(area.x, 0), y0 = std::max<long long>(area.y, 0);
    long long x1 = std::min<long long>(static_cast<long long>(area.x) + area.w, right);
    long long y1 = std::min<long long>(static_cast<long long>(area.y) + area.h, bottom);
    if (x1 <= x0 || y1 <= y0) return Rect{};
    return Rect{static_cast<int>(x0), static_cast<int>(y0), static_cast<int>(x1 - x0), static_cast<int>(y1 - y0)};
}

void blit_scaled(const Pixels& screen, const Rect& area, SDL_Surface* surface, int scale) {
    if (area.w <= 0 || area.h <= 0 || screen.data == nullptr || surface == nullptr) return;
    Layout32 layout;
    bool direct = layout_of(*surface->format, layout);
    size_t block_row_bytes = static_cast<size_t>(area.w) * scale * surface->format->BytesPerPixel;
    ptrdiff_t x_offset = static_cast<ptrdiff_t>(area.x) * scale * surface->format->BytesPerPixel;
    if (SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) != 0) return;
    for (int y = area.y; y < area.y + area.h; ++y) {
        const uint32_t* src = screen.data + static_cast<ptrdiff_t>(y) * screen.stride + area.x;
        uint8_t* first = surface_row(surface, y * scale) + x_offset;
        if (direct) {
            widen_row_32(src, area.w, scale, layout, reinterpret_cast<uint32_t*>(first));
        } else {
            widen_row_converted(src, area.w, scale, surface, first);
        }
        for (int k = 1; k < scale; ++k) std::memcpy(surface_row(surface, y * scale + k) + x_offset, first, block_row_bytes);
    }
    if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
}

}  // namespace tickvane::display
