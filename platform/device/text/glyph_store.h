// The glyphs and line metrics a start drew, kept in a file beside the remembered font, so
// that the next start draws its first frame without opening the font in FreeType: no
// face to parse, no auto-hinter set-up, no rendering. The file holds a stamp of what made
// the glyphs (font file, its size and time, the FreeType library, the hinting); a stamp
// that differs, or a file that does not read back whole, is as if there were none.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "text/font_face.h"
#include "text/glyph.h"

namespace tickvane::text {

struct StoredGlyph {
    char32_t code_point = 0;
    int pixel_size = 0;
    Glyph glyph;
};

struct GlyphStore {
    std::vector<std::pair<int, LineMetrics>> metrics;  // by pixel size
    std::vector<StoredGlyph> glyphs;
};

// What the glyphs of `font` rendered with `load_flags` by the FreeType library in the file
// `library` depend on; empty if either file cannot be looked at, and then nothing is kept.
std::string glyph_stamp(const FontFile& font, int32_t load_flags, const std::string& library);

// The file of the FreeType library this process has loaded; empty if none is.
std::string loaded_freetype();

// The store at `path` if it holds glyphs of `font` made with `load_flags` by the FreeType
// library it names, that file unchanged since: read without loading FreeType.
std::optional<GlyphStore> read_glyph_store(const std::string& path, const FontFile& font, int32_t load_flags);

// Replaces the store at `path` whole (a new file renamed over the old).
void write_glyph_store(const std::string& path, const std::string& stamp, const GlyphStore& store);

}  // namespace tickvane::text
