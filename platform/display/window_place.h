// Where the desktop window stands on the desktop, which places count as chosen by the
// person, and how a kept place is brought back onto the work area. Pure: the X11 backend
// gathers the facts, the rules live here so they can be checked without a server.
#pragma once

#include <optional>
#include <vector>

#include "display.h"

namespace tickvane::display {

// What the X server says of the window at one moment.
struct FrameFacts {
    bool viewable = false;  // mapped, and so are its ancestors
    bool iconic = false;    // WM_STATE Iconic or _NET_WM_STATE_HIDDEN: minimised
    Rect frame;             // the outermost window (the window manager's frame, or ours)
    Rect image;             // our window, on the desktop
};

// The place to keep, or nothing when the window is not standing where a person put it:
// unmapped, minimised, or in a frame that does not hold the whole image (the frames of
// a window manager's minimise and restore animations shrink around it).
std::optional<WindowPlace> chosen_place(const FrameFacts& facts);

// `place` moved as little as needed for its whole frame around an image of
// `image_w` x `image_h` to lie inside the work area it overlaps most (the nearest one
// when it overlaps none); a frame larger than the area starts at its top-left corner.
WindowPlace place_inside(WindowPlace place, int image_w, int image_h, const std::vector<Rect>& work_areas);

}  // namespace tickvane::display
