// For the screen's own pixel loops only (pixels, fill track, copies): the rows and the
// bookkeeping a Surface keeps private. Nothing outside screen/ includes this.
#pragma once

#include "screen/surface.h"

namespace tickvane::device {

struct SurfaceAccess {
    static uint8_t* row(Surface& s, int y) { return s.tracked_row(y); }
    static ChangeLog& log(Surface& s) { return s.log_; }
    static const ChangeLog& log(const Surface& s) { return s.log_; }
    static FillTrack& fills(Surface& s) { return s.fills_; }
    static std::optional<Mirror>& mirror(Surface& s) { return s.mirror_; }
};

}  // namespace tickvane::device
