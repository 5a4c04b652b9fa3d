// Whether a text on a capture is drawn with real glyphs: a font without the characters
// draws the same missing-glyph box for each of them, or nothing.
#pragma once

#include <string>

#include "bmp_reader.h"
#include "glyph_boxes.h"

namespace tickvane::wine {

// Empty when `area` of `screen` (screen coordinates) holds dark marks side by side, at
// least two, most of them different pictures; else what it holds. Rows and columns that
// are dark across nearly all of the area (frames, separator lines) are not marks.
std::string real_glyphs_in(const test::Image& screen, const Box& area);

}  // namespace tickvane::wine
