// One FreeType face, read from its file through pread() rather than FreeType's usual
// mmap(): with mmap every glyph outline faults in 64 KB of the file around it, about
// 2 MB of resident memory for the device's handful of Japanese strings.
#pragma once

#include <ft2build.h>
#include FT_FREETYPE_H

#include <memory>

#include "text/font_locator.h"

namespace tickvane::text {

struct LineMetrics {
    int ascent = 0;   // pixels above the baseline
    int descent = 0;  // pixels below it, positive
    // The height Windows' GDI gives the font (TEXTMETRIC's tmHeight): from the font's
    // Windows ascent and descent, which FreeType passes over for the typographic ones
    // when the font asks for those. Dialog units are counted in it.
    int gdi_height = 0;
};

class FontFace {
public:
    // Null when the file cannot be read or FreeType does not understand it.
    static std::unique_ptr<FontFace> open(const FontFile& file);
    ~FontFace();
    FontFace(const FontFace&) = delete;
    FontFace& operator=(const FontFace&) = delete;

    // Makes `pixel_size` (the em height) current for glyph loading; false on failure.
    bool use_pixel_size(int pixel_size);
    // Of the current pixel size.
    LineMetrics line_metrics() const;
    FT_Face face() const { return face_; }

private:
    FontFace() = default;

    int fd_ = -1;
    FT_StreamRec stream_{};
    FT_Library library_ = nullptr;
    FT_Face face_ = nullptr;
    int pixel_size_ = 0;
};

}  // namespace tickvane::text
