// The program's icon: a round clock face, in the four forms the handheld's shell picks from.
#pragma once

#include "indexed_image.h"

#include <vector>

namespace tickvane::glyphgen {

struct IconImage {
    IndexedImage colours;      // the XOR image; palette size 2^bitsPerPixel
    IndexedImage transparent;  // the AND mask: index 1 where the background shows through
    int bitsPerPixel;
};

// A square clock face `size` pixels wide in the 16 standard colours (4 bits) or in black and white (1 bit).
IconImage ClockFaceIcon(int size, int bitsPerPixel);

// 32 and 16 pixels, each at 16 colours and in monochrome.
std::vector<IconImage> AppIconImages();

}  // namespace tickvane::glyphgen
