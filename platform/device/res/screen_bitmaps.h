// Bitmap resources already in the screen's format, made from the program's .res when the
// program is built and embedded beside it. LoadBitmap then borrows pixels that are ready
// instead of converting a sheet at every start (about a million instructions and 130
// fresh pages for the clock's two glyph sheets).
//
// The bytes: a count (uint32), that many entries, then each entry's pixels: top row
// first, 4 bytes a pixel (0x00RRGGBB in host order), 16-byte aligned. All in host order:
// the build makes them for the machine it builds for.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "screen/surface.h"

namespace tickvane::device {

struct ScreenBitmapEntry {
    uint32_t dib_offset = 0;  // where the bitmap's DIB starts in the .res
    uint32_t dib_size = 0;
    int32_t width = 0, height = 0;
    uint32_t pixels_offset = 0;  // from the start of the bytes
};

// `dib` (any format bitmap_from_dib reads) as screen-format rows, top row first.
void to_screen_format(const Surface& dib, uint32_t* out);

// The bytes for every bitmap resource of `res`.
std::vector<uint8_t> make_screen_bitmaps(const uint8_t* res, size_t res_size);

// The ready pixels of the bitmap whose DIB lies at `dib_offset` in the .res, with this
// size and these dimensions; null when the bytes hold none that match in every respect
// or would reach past their end (damaged or made from another .res).
const uint32_t* find_screen_bitmap(const uint8_t* bytes, size_t size, uint32_t dib_offset, uint32_t dib_size, int width,
                                   int height);

}  // namespace tickvane::device
