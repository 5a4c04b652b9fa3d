// Laying out one line of UTF-16 text with a glyph cache: the work behind text.h,
// kept apart from the process-wide font so that it can run with any face.
#pragma once

#include <cstdint>
#include <string_view>

#include "text/glyph_cache.h"
#include "text/text.h"

namespace tickvane::text {

class FontFace;
struct LineMetrics;

// Sizes outside this range measure and draw as nothing: larger ones would only come
// from a bad value, and each of their glyphs would cost a large bitmap.
inline constexpr int kMinPixelSize = 1;
inline constexpr int kMaxPixelSize = 256;

Extent measure_run(FontFace& face, GlyphCache& glyphs, std::u16string_view text, int pixel_size);
// The same with the line metrics of `pixel_size` known already.
Extent measure_run(const LineMetrics& line, GlyphCache& glyphs, std::u16string_view text, int pixel_size);

int draw_run(GlyphCache& glyphs, const Target& target, const PixelRect& clip, int x, int baseline_y,
             std::u16string_view text, int pixel_size, uint32_t colour);

}  // namespace tickvane::text
