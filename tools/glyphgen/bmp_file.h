// Windows .bmp files: BITMAPFILEHEADER, BITMAPINFOHEADER, palette, bottom-up rows.
#pragma once

#include "indexed_image.h"

#include <cstdint>
#include <vector>

namespace tickvane::glyphgen {

// Palette-indexed, 8 bits per pixel; the colour table holds exactly the image's palette.
std::vector<std::uint8_t> EncodeBmp8(const IndexedImage& image);

// 24 bits per pixel, no colour table.
std::vector<std::uint8_t> EncodeBmp24(const IndexedImage& image);

}  // namespace tickvane::glyphgen
