#include "window_place.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

namespace tickvane::display {
namespace {

long overlap(const Rect& a, const Rect& b)
{
    long w = std::min(a.x + a.w, b.x + b.w) - std::max(a.x, b.x);
    long h = std::min(a.y + a.h, b.y + b.h) - std::max(a.y, b.y);
    return w > 0 && h > 0 ? w * h : 0;
}

// How far `r` lies from `area` along both axes (0 when they touch or overlap).
long distance(const Rect& r, const Rect& area)
{
    auto gap = [](int a0, int a1, int b0, int b1) -> long { return std::max({0, b0 - a1, a0 - b1}); };
    return gap(r.x, r.x + r.w, area.x, area.x + area.w) + gap(r.y, r.y + r.h, area.y, area.y + area.h);
}

// The start of a span of `length` moved into [low, low + room), or `low` when it cannot fit.
int clamp_span(int start, int length, int low, int room)
{
    if (length >= room)
        return low;
    return std::clamp(start, low, low + room - length);
}

}  // namespace

std::optional<WindowPlace> chosen_place(const FrameFacts& f)
{
    if (!f.viewable || f.iconic || f.image.w <= 0 || f.image.h <= 0)
        return std::nullopt;
    int left = f.image.x - f.frame.x, top = f.image.y - f.frame.y;
    int right = f.frame.x + f.frame.w - (f.image.x + f.image.w);
    int bottom = f.frame.y + f.frame.h - (f.image.y + f.image.h);
    if (left < 0 || top < 0 || right < 0 || bottom < 0)
        return std::nullopt;
    return WindowPlace{f.frame.x, f.frame.y, left, top, right, bottom};
}

WindowPlace place_inside(WindowPlace p, int image_w, int image_h, const std::vector<Rect>& work_areas)
{
    Rect frame{p.x, p.y, p.left + image_w + p.right, p.top + image_h + p.bottom};
    const Rect* best = nullptr;
    long best_overlap = -1, best_distance = LONG_MAX;
    for (const Rect& area : work_areas) {
        if (area.w <= 0 || area.h <= 0)
            continue;
        long o = overlap(frame, area), d = distance(frame, area);
        if (o > best_overlap || (o == 0 && best_overlap == 0 && d < best_distance)) {
            best = &area;
            best_overlap = o;
            best_distance = d;
        }
    }
    if (best == nullptr)
        return p;
    p.x = clamp_span(frame.x, frame.w, best->x, best->w);
    p.y = clamp_span(frame.y, frame.h, best->y, best->h);
    return p;
}

}  // namespace tickvane::display
