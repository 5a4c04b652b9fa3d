// Rendered glyphs by (code point, pixel size), so the title bar and soft keys that are
// redrawn on every frame do not go through FreeType again.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <unordered_map>

#include "text/glyph.h"

namespace tickvane::text {

class FontFace;

enum class Hinting {
    Light,     // vertical-only hinting by FreeType's auto-hinter
    Native,    // the font's own hinting instructions
    AutoFull,  // the auto-hinter in both directions
    None,      // outlines as drawn, only anti-aliased
};

// Chosen on a sample sheet of the device's strings at 12-14 px. VL Gothic carries no
// hinting program, so Native draws exactly like None: horizontal strokes straddle two
// rows and go grey. Light snaps them to whole rows without touching the widths;
// AutoFull is a little darker still but moves stems and advances of dense kanji.
inline constexpr Hinting kDeviceHinting = Hinting::Light;

class GlyphCache {
public:
    // Both the face and the cache live for the process; a full cache starts over
    // rather than tracking use, since the device's working set is a few dozen glyphs.
    GlyphCache(FontFace& face, Hinting hinting, std::size_t capacity = 512);
    // The same with a face opened only when a glyph is first rendered (null: none
    // renders), for a cache filled from a glyph store.
    GlyphCache(std::function<FontFace*()> face, Hinting hinting, std::size_t capacity = 512);

    // The glyph, rendered on first use. A glyph the font cannot render comes back
    // empty with no advance. The reference stays valid until the next call.
    const Glyph& get(char32_t code_point, int pixel_size);

    std::size_t size() const { return glyphs_.size(); }

    // A glyph rendered before, e.g. by an earlier process.
    void insert(char32_t code_point, int pixel_size, Glyph glyph);
    // Calls `visit(code_point, pixel_size, glyph)` for every glyph held.
    template <typename Visit>
    void for_each(Visit&& visit) const
    {
        for (const auto& [key, glyph] : glyphs_)
            visit(static_cast<char32_t>(key >> 32), static_cast<int>(static_cast<uint32_t>(key)), glyph);
    }
    // How many glyphs this cache has rendered itself.
    std::size_t rendered() const { return rendered_; }
    int32_t load_flags() const { return load_flags_; }

private:
    Glyph render(char32_t code_point, int pixel_size);

    std::function<FontFace*()> face_;
    int32_t load_flags_;
    std::size_t rendered_ = 0;
    std::size_t capacity_;
    std::unordered_map<uint64_t, Glyph> glyphs_;
};

}  // namespace tickvane::text
