// Laying glyph coverage over 0x00RRGGBB pixels in one colour.
#pragma once

#include <cstdint>

#include "text/glyph.h"
#include "text/text.h"

namespace tickvane::text {

// The part of `clip` that lies on `target`; empty when the target is unusable
// (no pixels, no size, or rows shorter than its width).
PixelRect drawable_area(const Target& target, const PixelRect& clip);

// `colour` over `under` at `alpha` (0..255); the top byte of `under` is kept.
uint32_t blend_pixel(uint32_t under, uint32_t colour, uint8_t alpha);

// Blends `glyph` with its top-left corner at (x, y), writing only inside `area`,
// which must come from drawable_area() for the same target. The wide coordinates
// let a far-off pen position fall outside without overflowing.
void blend_glyph(const Target& target, const PixelRect& area, long long x, long long y, const Glyph& glyph,
                 uint32_t colour);

}  // namespace tickvane::text
