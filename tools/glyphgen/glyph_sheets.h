// The clock's two glyph sheets, laid out where the clock face copies from them.
#pragma once

#include "indexed_image.h"

namespace tickvane::glyphgen {

// Palette indices of the small sheet; the large sheet's palette is its first two.
enum SmallSheetColour : std::uint8_t { kWhite = 0, kBlack = 1, kSaturdayBlue = 2, kSundayRed = 3 };

// 240 x 90, four colours: digits 1-9, 0 and a slash on the top row, weekday badges below.
IndexedImage SmallGlyphSheet();

// 869 x 128, black and white: digits 1-9, 0 and a colon.
IndexedImage LargeGlyphSheet();

}  // namespace tickvane::glyphgen
