#include "text/text_run.h"

#include <climits>

#include "text/blend.h"
#include "text/font_face.h"
#include "text/utf16.h"

namespace tickvane::text {

namespace {

bool usable_size(int pixel_size) { return pixel_size >= kMinPixelSize && pixel_size <= kMaxPixelSize; }

// Control characters take no room: a stray line break in a label shows as nothing
// rather than as the font's missing-glyph box.
bool is_control(char32_t code_point) { return code_point < 0x20 || code_point == 0x7F; }

int saturate(long long width) { return width > INT_MAX ? INT_MAX : static_cast<int>(width); }

// Calls `place(glyph, pen)` for every glyph with the pen relative to the start;
// returns the total advance.
template <typename Place>
long long walk(GlyphCache& glyphs, std::u16string_view text, int pixel_size, Place&& place)
{
    long long pen = 0;
    for (std::size_t pos = 0; pos < text.size();) {
        const char32_t code_point = next_code_point(text, pos);
        if (is_control(code_point))
            continue;
        const Glyph& glyph = glyphs.get(code_point, pixel_size);
        place(glyph, pen);
        pen += glyph.advance;
    }
    return pen;
}

}  // namespace

Extent measure_run(FontFace& face, GlyphCache& glyphs, std::u16string_view text, int pixel_size)
{
    if (!usable_size(pixel_size) || !face.use_pixel_size(pixel_size))
        return {};
    return measure_run(face.line_metrics(), glyphs, text, pixel_size);
}

Extent measure_run(const LineMetrics& line, GlyphCache& glyphs, std::u16string_view text, int pixel_size)
{
    if (!usable_size(pixel_size))
        return {};
    const long long width = walk(glyphs, text, pixel_size, [](const Glyph&, long long) {});
    return {saturate(width), line.ascent, line.descent, line.gdi_height};
}

int draw_run(GlyphCache& glyphs, const Target& target, const PixelRect& clip, int x, int baseline_y,
             std::u16string_view text, int pixel_size, uint32_t colour)
{
    if (!usable_size(pixel_size))
        return 0;
    const PixelRect area = drawable_area(target, clip);
    const long long width = walk(glyphs, text, pixel_size, [&](const Glyph& glyph, long long pen) {
        const long long left = x + pen + glyph.left;
        const long long top = static_cast<long long>(baseline_y) - glyph.top;
        blend_glyph(target, area, left, top, glyph, colour);
    });
    return saturate(width);
}

}  // namespace tickvane::text
