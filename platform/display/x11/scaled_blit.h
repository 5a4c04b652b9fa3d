// Copies part of the device's screen into a 32-bit X image, each pixel grown to a
// scale x scale block (nearest neighbour).
#pragma once

#include <cstdint>

#include "display.h"

namespace tickvane::display {

// Where red, green and blue lie in one 32-bit pixel as it sits in memory, and the bits
// that must always be set (the alpha of a 32-bit visual, so a compositor never shows through).
struct PixelLayout {
    int r_shift = 16, g_shift = 8, b_shift = 0;
    uint32_t opaque = 0;
};

// The layout for a visual's channel masks. False unless each mask is one whole byte.
// `byte_swapped`: the image's byte order is not the host's.
bool layout_for(unsigned long red_mask, unsigned long green_mask, unsigned long blue_mask, int depth, bool byte_swapped,
                PixelLayout& out);

// An image's pixels: 4 bytes each, `bytes_per_line` apart.
struct ImageBuffer {
    uint8_t* data = nullptr;
    int width = 0;
    int height = 0;
    int bytes_per_line = 0;
};

// `area` clipped to the screen and to what fits in an image of the given size; may come back empty.
Rect clip_to_screen(const Rect& area, const Pixels& screen, int image_w, int image_h, int scale);

// Draws the clipped `area` (screen coordinates) into `image`, the area's top-left corner
// at the image's, each pixel grown to a scale x scale block.
void blit_scaled(const Pixels& screen, const Rect& area, const ImageBuffer& image, const PixelLayout& layout,
                 int scale);

}  // namespace tickvane::display
