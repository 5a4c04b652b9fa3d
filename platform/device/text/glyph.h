// One rendered glyph: an 8-bit coverage bitmap placed relative to the pen.
#pragma once

#include <cstdint>
#include <vector>

namespace tickvane::text {

struct Glyph {
    int left = 0;  // first column, right of the pen position
    int top = 0;   // first row, above the baseline
    int width = 0;
    int height = 0;
    int advance = 0;                // whole pixels to the next pen position
    std::vector<uint8_t> coverage;  // width * height, row by row, 0 = none, 255 = full
};

}  // namespace tickvane::text
