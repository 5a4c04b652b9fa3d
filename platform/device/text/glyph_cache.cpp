#include "text/glyph_cache.h"

#include <cstdlib>
#include <cstring>
#include <utility>

#include "text/font_face.h"

namespace tickvane::text {

namespace {

int32_t load_flags_for(Hinting hinting)
{
    switch (hinting) {
    case Hinting::Light:
        return FT_LOAD_TARGET_LIGHT;
    case Hinting::Native:
        return FT_LOAD_TARGET_NORMAL;
    case Hinting::AutoFull:
        return FT_LOAD_TARGET_NORMAL | FT_LOAD_FORCE_AUTOHINT;
    case Hinting::None:
        return FT_LOAD_NO_HINTING;
    }
    return FT_LOAD_DEFAULT;
}

uint64_t key_of(char32_t code_point, int pixel_size)
{
    return (uint64_t{code_point} << 32) | static_cast<uint32_t>(pixel_size);
}

// FreeType's rows may be padded, and run bottom-up when the pitch is negative.
const unsigned char* source_row(const FT_Bitmap& bitmap, unsigned row)
{
    const unsigned stored = bitmap.pitch < 0 ? bitmap.rows - 1 - row : row;
    return bitmap.buffer + static_cast<ptrdiff_t>(stored) * std::abs(bitmap.pitch);
}

// Grey bitmaps as they are; one-bit ones (embedded bitmaps of fallback fonts) as
// full or no coverage.
void copy_coverage(const FT_Bitmap& bitmap, Glyph& glyph)
{
    glyph.width = static_cast<int>(bitmap.width);
    glyph.height = static_cast<int>(bitmap.rows);
    glyph.coverage.resize(size_t{bitmap.width} * bitmap.rows);
    uint8_t* out = glyph.coverage.data();
    for (unsigned row = 0; row < bitmap.rows; ++row, out += bitmap.width) {
        const unsigned char* in = source_row(bitmap, row);
        if (bitmap.pixel_mode == FT_PIXEL_MODE_GRAY) {
            std::memcpy(out, in, bitmap.width);
            continue;
        }
        for (unsigned col = 0; col < bitmap.width; ++col) {
            out[col] = (in[col / 8] & (0x80 >> (col % 8))) != 0 ? 255 : 0;
        }
    }
}

bool blendable(const FT_Bitmap& bitmap)
{
    const bool known = bitmap.pixel_mode == FT_PIXEL_MODE_GRAY || bitmap.pixel_mode == FT_PIXEL_MODE_MONO;
    return known && bitmap.buffer != nullptr && bitmap.width > 0 && bitmap.rows > 0;
}

}  // namespace

GlyphCache::GlyphCache(FontFace& face, Hinting hinting, std::size_t capacity)
    : GlyphCache([&face] { return &face; }, hinting, capacity)
{}

GlyphCache::GlyphCache(std::function<FontFace*()> face, Hinting hinting, std::size_t capacity)
    : face_(std::move(face)), load_flags_(load_flags_for(hinting)), capacity_(capacity)
{}

void GlyphCache::insert(char32_t code_point, int pixel_size, Glyph glyph)
{
    if (glyphs_.size() < capacity_)
        glyphs_.insert_or_assign(key_of(code_point, pixel_size), std::move(glyph));
}

const Glyph& GlyphCache::get(char32_t code_point, int pixel_size)
{
    const uint64_t key = key_of(code_point, pixel_size);
    if (auto found = glyphs_.find(key); found != glyphs_.end())
        return found->second;
    if (glyphs_.size() >= capacity_)
        glyphs_.clear();
    return glyphs_.emplace(key, render(code_point, pixel_size)).first->second;
}

Glyph GlyphCache::render(char32_t code_point, int pixel_size)
{
    Glyph glyph;
    FontFace* font = face_();
    if (font == nullptr || !font->use_pixel_size(pixel_size))
        return glyph;
    ++rendered_;
    FT_Face face = font->face();
    const FT_UInt index = FT_Get_Char_Index(face, code_point);
    if (FT_Load_Glyph(face, index, load_flags_ | FT_LOAD_RENDER) != 0)
        return glyph;
    const FT_GlyphSlot slot = face->glyph;
    glyph.advance = static_cast<int>((slot->advance.x + 32) >> 6);
    if (!blendable(slot->bitmap))
        return glyph;  // a space, or colour we do not blend
    glyph.left = slot->bitmap_left;
    glyph.top = slot->bitmap_top;
    copy_coverage(slot->bitmap, glyph);
    return glyph;
}

}  // namespace tickvane::text
