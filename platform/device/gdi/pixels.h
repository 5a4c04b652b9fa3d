// Reading and writing runs of pixels in any bitmap layout, as 0x00RRGGBB. A writer
// reports what it wrote to the bitmap's log, or calls forget_changes() first.
#pragma once

#include <cstdint>

#include "gdi/bitmap.h"

namespace tickvane::device {

void read_run(const Bitmap& b, int x, int y, int count, uint32_t* out);
void write_run(Bitmap& b, int x, int y, int count, const uint32_t* in);
void fill_run(Bitmap& b, int x, int y, int count, uint32_t xrgb);

}  // namespace tickvane::device
