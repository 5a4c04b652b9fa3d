#include "strokes.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace tickvane::glyphgen {
namespace {

bool CapCovers(Cap cap, double beyond, double across, double halfWidth)
{
    switch (cap) {
    case Cap::Butt:
        return false;
    case Cap::Square:
        return beyond <= halfWidth;
    case Cap::Round:
        return beyond * beyond + across * across <= halfWidth * halfWidth;
    }
    return false;
}

bool SegmentCovers(const Segment& s, Point p, double halfWidth)
{
    const double dx = s.to.x - s.from.x;
    const double dy = s.to.y - s.from.y;
    const double px = p.x - s.from.x;
    const double py = p.y - s.from.y;
    const double length = std::hypot(dx, dy);
    if (length == 0)
        return CapCovers(s.fromCap, std::hypot(px, py), 0, halfWidth);
    const double along = (px * dx + py * dy) / length;
    const double across = std::abs(px * dy - py * dx) / length;
    if (across > halfWidth)
        return false;
    if (along < 0)
        return CapCovers(s.fromCap, -along, across, halfWidth);
    if (along > length)
        return CapCovers(s.toCap, along - length, across, halfWidth);
    return true;
}

bool ArcCovers(const Arc& a, Point p, double halfWidth)
{
    const double vx = p.x - a.centre.x;
    const double vy = a.centre.y - p.y;  // up is positive, so angles turn counter-clockwise on screen
    if (std::abs(std::hypot(vx, vy) - a.radius) > halfWidth)
        return false;
    const double angle = std::atan2(vy, vx) * 180.0 / std::numbers::pi;
    double fromStart = std::fmod(angle - a.startDeg, 360.0);
    if (fromStart < 0)
        fromStart += 360.0;
    return fromStart <= a.endDeg - a.startDeg;
}

bool Covers(const Stroke& stroke, Point p, double halfWidth)
{
    if (const auto* segment = std::get_if<Segment>(&stroke))
        return SegmentCovers(*segment, p, halfWidth);
    return ArcCovers(std::get<Arc>(stroke), p, halfWidth);
}

}  // namespace

Segment Dot(Point centre) { return {centre, centre, Cap::Round, Cap::Round}; }

void Rasterise(const StrokedShape& shape, IndexedImage& image, std::uint8_t index)
{
    const int top = std::max(shape.clip.top, 0);
    const int bottom = std::min(shape.clip.bottom, image.height());
    const int left = std::max(shape.clip.left, 0);
    const int right = std::min(shape.clip.right, image.width());
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x) {
            const Point centre{x + 0.5, y + 0.5};
            const bool ink = std::any_of(shape.strokes.begin(), shape.strokes.end(),
                                         [&](const Stroke& s) { return Covers(s, centre, shape.halfWidth); });
            if (ink)
                image.set(x, y, index);
        }
}

StrokedShape TurnedHalfway(const StrokedShape& shape, double boxWidth, double boxHeight)
{
    const auto turn = [&](Point p) { return Point{boxWidth - p.x, boxHeight - p.y}; };
    StrokedShape turned{{}, shape.halfWidth, {}};
    for (const Stroke& stroke : shape.strokes) {
        if (const auto* s = std::get_if<Segment>(&stroke)) {
            turned.strokes.emplace_back(Segment{turn(s->from), turn(s->to), s->fromCap, s->toCap});
        } else {
            const Arc& a = std::get<Arc>(stroke);
            turned.strokes.emplace_back(Arc{turn(a.centre), a.radius, a.startDeg + 180, a.endDeg + 180});
        }
    }
    const auto w = static_cast<int>(boxWidth);
    const auto h = static_cast<int>(boxHeight);
    turned.clip = {w - shape.clip.right, h - shape.clip.bottom, w - shape.clip.left, h - shape.clip.top};
    return turned;
}

}  // namespace tickvane::glyphgen
