// Fills that a memory bitmap owes: see FillTrack. Every pixel a reader may see is settled
// first (settle_fills), so the deferral never shows.
#pragma once

#include "screen/surface.h"

namespace tickvane::device {

// Fills `area` (inside the bitmap) with `xrgb`, at once or by marking what was drawn since
// the last such fill as owing it.
void fill_tracked(Surface& b, const PixelRect& area, uint32_t xrgb);
// Whether a copy from `from` into `to` would only put back the pixels that stand there
// already, under a fill that they owe; if so, they owe it no more and nothing need be done.
bool take_back_copy(Surface& b, const PixelRect& to, const CopySource& from);
// Before and after a real copy into `to`.
void before_copy(Surface& b, const PixelRect& to);
void after_copy(Surface& b, const PixelRect& to, const CopySource& from);
// Carries out every owed fill: before the bitmap's pixels are read.
void settle_fills(Surface& b);
// Settles and stops tracking: before a write that says nothing of where it goes.
void drop_fill_track(Surface& b);

}  // namespace tickvane::device
