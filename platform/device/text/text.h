// Text for the device's own drawing (title bar, soft keys, dialogs and controls):
// a Japanese-capable font found through fontconfig, rendered with FreeType.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "geometry/rect.h"

namespace tickvane::text {

// A 0x00RRGGBB surface to draw into; row y starts at pixels + y * stride (a negative
// stride serves bottom-up bitmaps).
struct Target {
    uint32_t* pixels = nullptr;
    int width = 0, height = 0, stride = 0;
};

// Clips are the device's one rectangle type.
using device::PixelRect;

// Width in pixels and line metrics of `text` at `pixel_size` (the em height).
struct Extent {
    int width = 0;
    int ascent = 0;
    int descent = 0;
    int gdi_height = 0;  // the font's height as Windows' GDI reports it (tmHeight)
};

Extent measure(std::u16string_view text, int pixel_size);

// Draws `text` with its baseline at `baseline_y`, starting at `x`, blended over
// what is there in `colour`, never outside `clip`. Returns the advance width.
int draw(const Target& target, const PixelRect& clip, int x, int baseline_y, std::u16string_view text, int pixel_size,
         uint32_t colour);

// The family in use ("VL Gothic" where installed), for diagnostics.
const char* family();

// Where to remember the font found, so that later processes skip the search; call
// before the first measure or draw.
void remember_font_in(const std::string& path);

// Keeps the glyphs drawn so far beside the remembered font (`path`-glyphs), so that the
// next process draws them without FreeType. Acts once per process, and only if something
// was rendered rather than taken from the store; call when a frame is out.
void keep_glyphs();

}  // namespace tickvane::text
