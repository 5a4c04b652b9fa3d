// Device-independent bitmaps: the BITMAPINFOHEADER form that both .bmp files and icon images use.
#pragma once

#include "byte_writer.h"
#include "indexed_image.h"

#include <cstdint>
#include <vector>

namespace tickvane::glyphgen {

inline constexpr std::uint32_t kInfoHeaderSize = 40;

// Bytes in one stored row of `width` pixels at `bitsPerPixel`: rows are padded to four bytes.
std::uint32_t DibStride(int width, int bitsPerPixel);

// BITMAPINFOHEADER. `storedHeight` is the height field as written (an icon doubles it for its mask).
void WriteInfoHeader(ByteWriter& out, int width, int storedHeight, int bitsPerPixel, std::uint32_t imageSize,
                     std::uint32_t coloursUsed);

// RGBQUAD entries: blue, green, red, reserved.
void WritePalette(ByteWriter& out, const std::vector<Rgb>& palette);

// Pixel rows bottom-up. At 1, 4 or 8 bits a pixel is its palette index; at 24 bits its colour.
void WritePixels(ByteWriter& out, const IndexedImage& image, int bitsPerPixel);

}  // namespace tickvane::glyphgen
