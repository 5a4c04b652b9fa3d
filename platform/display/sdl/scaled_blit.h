// Copies part of the device's screen into an SDL surface, each pixel grown to a
// scale x scale block (nearest neighbour).
#pragma once

#include <SDL.h>

#include "display.h"

namespace tickvane::display {

// `area` clipped to the screen and to what fits in a surface of the given size; may come back empty.
Rect clip_to_screen(const Rect& area, const Pixels& screen, int surface_w, int surface_h, int scale);

// Draws the clipped `area` (screen coordinates) into `surface` at area * scale.
// Surfaces with 8-bit channels in 32-bit pixels (the usual X11 and Wayland case) are
// written directly; any other format goes through SDL_ConvertPixels one row at a time.
void blit_scaled(const Pixels& screen, const Rect& area, SDL_Surface* surface, int scale);

}  // namespace tickvane::display
