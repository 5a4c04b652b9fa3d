// Glyphs drawn pixel by pixel as rows of text, '#' for ink: at small sizes a hand-placed grid
// reads better than any rasterised outline.
#pragma once

#include "indexed_image.h"

#include <span>
#include <string_view>

namespace tickvane::glyphgen {

// Draws `rows` with the top-left corner at (x, y). A turned grid is drawn rotated half a turn.
void DrawGrid(IndexedImage& image, std::span<const std::string_view> rows, int x, int y, std::uint8_t index,
              bool turned = false);

}  // namespace tickvane::glyphgen
