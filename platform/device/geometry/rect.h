// The one rectangle of pixels the device draws and composes with: half-open (right and
// bottom excluded, as in a Win32 RECT), in whatever coordinates its user says. RECT
// stays the type of the Win32 calls; to_rect and to_win32 (screen.h) convert at that edge.
// It depends on nothing, so that text, the screen and the display can all share it.
#pragma once

#include <algorithm>

namespace tickvane::device {

struct PixelRect {
    int left = 0, top = 0, right = 0, bottom = 0;

    bool empty() const { return right <= left || bottom <= top; }
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    PixelRect offset(int dx, int dy) const { return PixelRect{left + dx, top + dy, right + dx, bottom + dy}; }
    bool operator==(const PixelRect&) const = default;
};

inline PixelRect intersection(const PixelRect& a, const PixelRect& b)
{
    return PixelRect{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                     std::min(a.bottom, b.bottom)};
}
// The smallest rectangle holding both; an empty one adds nothing.
inline PixelRect bounding_union(const PixelRect& a, const PixelRect& b)
{
    if (a.empty())
        return b;
    if (b.empty())
        return a;
    return PixelRect{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                     std::max(a.bottom, b.bottom)};
}
inline bool contains(const PixelRect& outer, const PixelRect& inner)
{
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}
inline bool overlaps(const PixelRect& a, const PixelRect& b) { return !intersection(a, b).empty(); }

// From a Win32 RECT (or anything with the same four fields).
template <class Win32Rect>
PixelRect to_rect(const Win32Rect& r)
{
    return PixelRect{(int)r.left, (int)r.top, (int)r.right, (int)r.bottom};
}

}  // namespace tickvane::device
