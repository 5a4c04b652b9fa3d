// The handheld's screen: its size as turned now, the work area between the title bar
// at the top and the soft-key bar at the bottom, and the part of it that may differ
// from what the display shows (its damage).
#pragma once

#include "geometry/rect.h"
#include "win32.h"

namespace tickvane::device {

constexpr int kTitleBarHeight = 26;
constexpr int kSoftKeyBarHeight = 26;

struct Screen {
    int width = 240;
    int height = 320;
    bool damaged = true;  // part of the screen may differ from what is shown
    PixelRect damage;     // screen coordinates; the whole screen when the layout changed
};

Screen& screen();

inline RECT to_win32(const PixelRect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

PixelRect whole_screen();
RECT work_area();
PixelRect title_bar_area();
PixelRect soft_key_bar_area();
// Something moved, appeared, went or was retitled: the whole screen is looked at again.
void mark_screen_changed();
// Pixels in `area` (screen coordinates) may have changed.
void mark_screen_area(const PixelRect& area);
inline void mark_screen_area(const RECT& area) { mark_screen_area(to_rect(area)); }
inline bool screen_damaged() { return screen().damaged; }
// The damage so far, cleared; empty when nothing was damaged.
PixelRect take_damage();
// Portrait <-> landscape: width and height trade places and everything is damaged.
void turn_screen();

}  // namespace tickvane::device
