// Reading and writing runs of pixels in any surface layout, as 0x00RRGGBB: the loops
// under Surface's operations, which keep the bookkeeping; nothing outside screen/ calls them.
#pragma once

#include <cstdint>

#include "screen/surface.h"

namespace tickvane::device {

void read_run(const Surface& b, int x, int y, int count, uint32_t* out);
void write_run(Surface& b, int x, int y, int count, const uint32_t* in);
void fill_run(Surface& b, int x, int y, int count, uint32_t xrgb);

}  // namespace tickvane::device
