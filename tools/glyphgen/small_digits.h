// The small sheet's figures: the large design redrawn by hand at 11 x 24 pixels with 3-pixel strokes.
#pragma once

#include "indexed_image.h"

namespace tickvane::glyphgen {

inline constexpr int kSmallDigitWidth = 11;
inline constexpr int kSmallDigitHeight = 24;

// Draws digit 0-9 with its top-left corner at (x, y); returns false, drawing nothing, for other values.
bool DrawSmallDigit(IndexedImage& image, int digit, int x, int y, std::uint8_t index);

// The date separator, the same size as a digit.
void DrawSmallSlash(IndexedImage& image, int x, int y, std::uint8_t index);

}  // namespace tickvane::glyphgen
