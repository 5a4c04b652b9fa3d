// What the screen should show for a face: white, with glyphs copied from the sheet
// files at the places a test names. Compared pixel by pixel with the device's screen.
#pragma once

#include <string>
#include <vector>

#include "bmp_reader.h"

namespace tickvane::test {

struct GlyphCopy {
    const Image* sheet;
    int src_x, src_y, width, height;
    int x, y;  // client coordinates
};

const Image& small_sheet();
const Image& large_sheet();

// Small-sheet column of a digit, and its large-sheet column.
int small_digit(int d);
int large_digit(int d);

// Empty when the clock's client area shows exactly `copies` over white; otherwise
// says where it first differs and how many pixels do.
std::string compare_face(const std::vector<GlyphCopy>& copies);

}  // namespace tickvane::test
