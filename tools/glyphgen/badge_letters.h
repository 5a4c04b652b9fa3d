// The capital letters of the weekday badges, drawn as pixel grids nine rows high.
#pragma once

#include "indexed_image.h"

#include <string_view>

namespace tickvane::glyphgen {

inline constexpr int kBadgeLetterWidth = 10;
inline constexpr int kBadgeLetterHeight = 9;

// Draws `letter` with its top-left corner at (x, y) in colour `index`. Returns false, drawing
// nothing, for a letter that no weekday needs.
bool DrawBadgeLetter(IndexedImage& image, char letter, int x, int y, std::uint8_t index);

// Draws the letters of `word` stacked top to bottom, `gap` rows apart.
bool DrawBadge(IndexedImage& image, std::string_view word, int x, int y, int gap, std::uint8_t index);

}  // namespace tickvane::glyphgen
