#include "digit_shapes.h"

#include <cmath>
#include <numbers>

namespace tickvane::glyphgen {
namespace {

// Centre-line coordinates derived from the frame: the pen's outer edge touches the ink frame.
struct Guides {
    double left, right, top, bottom, midX, radius, height;

    explicit Guides(const DigitFrame& f)
        : left(f.ink.left + f.halfWidth),
          right(f.ink.right - f.halfWidth),
          top(f.ink.top + f.halfWidth),
          bottom(f.ink.bottom - f.halfWidth),
          midX((left + right) / 2),
          radius((right - left) / 2),
          height(bottom - top)
    {}

    double Y(double fraction) const { return top + height * fraction; }
    double X(double fraction) const { return left + (right - left) * fraction; }
};

// Far enough outside any glyph box that the clip cuts the stroke level.
constexpr double kBeyond = 1000;

Point OnCircle(Point centre, double radius, double deg)
{
    const double rad = deg * std::numbers::pi / 180.0;
    return {centre.x + radius * std::cos(rad), centre.y - radius * std::sin(rad)};
}

// Angle of the point where a line from `outside` touches the circle, on the side that lies
// counter-clockwise of the direction towards `outside`.
double TangentDeg(Point centre, double radius, Point outside)
{
    const double dx = outside.x - centre.x;
    const double dy = centre.y - outside.y;
    const double toOutside = std::atan2(dy, dx);
    return (toOutside + std::acos(radius / std::hypot(dx, dy))) * 180.0 / std::numbers::pi;
}

// The segment through `a` and `b`, run on past both so the clip cuts its ends level.
Segment LineThrough(Point a, Point b)
{
    const double length = std::hypot(b.x - a.x, b.y - a.y);
    const double ux = (b.x - a.x) / length * kBeyond;
    const double uy = (b.y - a.y) / length * kBeyond;
    return {{a.x - ux, a.y - uy}, {b.x + ux, b.y + uy}};
}

// A closed loop with straight sides between `top` and `bottom` (centre-line y), half-circle ends.
void AddLoop(std::vector<Stroke>& s, double left, double right, double top, double bottom)
{
    const double r = (right - left) / 2;
    const double mid = (left + right) / 2;
    s.emplace_back(Arc{{mid, top + r}, r, 0, 180});
    s.emplace_back(Arc{{mid, bottom - r}, r, 180, 360});
    s.emplace_back(Segment{{left, top + r}, {left, bottom - r}});
    s.emplace_back(Segment{{right, top + r}, {right, bottom - r}});
}

// The lower bowl that 3 and 5 share: in from the left along `top`, round the right side, and out
// to a terminal low on the left.
void AddOpenBowl(std::vector<Stroke>& s, const Guides& g, double startX, double top)
{
    s.emplace_back(Segment{{startX, top}, {g.midX, top}, Cap::Round, Cap::Butt});
    s.emplace_back(Arc{{g.midX, top + g.radius}, g.radius, 0, 90});
    s.emplace_back(Segment{{g.right, top + g.radius}, {g.right, g.bottom - g.radius}});
    s.emplace_back(Arc{{g.midX, g.bottom - g.radius}, g.radius, 212, 360});
}

std::vector<Stroke> Zero(const Guides& g)
{
    std::vector<Stroke> s;
    AddLoop(s, g.left, g.right, g.top, g.bottom);
    return s;
}

std::vector<Stroke> One(const Guides& g)
{
    const double stem = g.X(0.68);
    return {Segment{{stem, -kBeyond}, {stem, kBeyond}},
            Segment{{stem - g.radius * 0.15, g.top - g.radius * 0.1}, {g.X(0.12), g.Y(0.2)}, Cap::Butt, Cap::Butt}};
}

std::vector<Stroke> Two(const Guides& g)
{
    const Point centre{g.midX, g.top + g.radius};
    const Point corner{g.left, g.bottom};
    const double joinDeg = TangentDeg(centre, g.radius, corner);
    return {Arc{centre, g.radius, joinDeg, 192},
            Segment{OnCircle(centre, g.radius, joinDeg), corner, Cap::Butt, Cap::Round},
            Segment{corner, {kBeyond, g.bottom}, Cap::Square, Cap::Butt}};
}

std::vector<Stroke> Three(const Guides& g)
{
    const double bowlTop = g.Y(0.41);
    const Point waist{g.X(0.36), bowlTop};
    std::vector<Stroke> s{Segment{{-kBeyond, g.top}, {g.right, g.top}, Cap::Butt, Cap::Square},
                          Segment{{g.right, g.top}, waist, Cap::Butt, Cap::Round}};
    AddOpenBowl(s, g, waist.x, bowlTop);
    return s;
}

std::vector<Stroke> Four(const Guides& g)
{
    const double stem = g.X(0.76);
    const double bar = g.Y(0.69);
    return {Segment{{stem, -kBeyond}, {stem, kBeyond}}, Segment{{-kBeyond, bar}, {kBeyond, bar}},
            Segment{{stem, g.top - g.radius * 0.2}, {g.left, bar}, Cap::Butt, Cap::Round}};
}

std::vector<Stroke> Five(const Guides& g)
{
    const double bowlTop = g.Y(0.39);
    std::vector<Stroke> s{Segment{{kBeyond, g.top}, {g.left, g.top}, Cap::Butt, Cap::Square},
                          Segment{{g.left, g.top}, {g.left, bowlTop}, Cap::Butt, Cap::Round}};
    AddOpenBowl(s, g, g.left, bowlTop);
    return s;
}

std::vector<Stroke> Six(const Guides& g)
{
    const double bowlTop = g.Y(0.39);
    std::vector<Stroke> s;
    AddLoop(s, g.left, g.right, bowlTop, g.bottom);
    s.emplace_back(Segment{{g.left, g.top + g.radius}, {g.left, bowlTop + g.radius}});
    s.emplace_back(Arc{{g.midX, g.top + g.radius}, g.radius, 28, 180});
    return s;
}

std::vector<Stroke> Seven(const Guides& g)
{
    const Point corner{g.right, g.top};
    Segment stem = LineThrough(corner, {g.X(0.30), g.bottom});
    stem.from = corner;
    return {Segment{{-kBeyond, g.top}, corner, Cap::Butt, Cap::Square}, stem};
}

std::vector<Stroke> Eight(const Guides& g)
{
    const double waist = g.Y(0.455);
    const double inset = g.radius * 0.12;
    std::vector<Stroke> s;
    AddLoop(s, g.left + inset, g.right - inset, g.top, waist);
    AddLoop(s, g.left, g.right, waist, g.bottom);
    return s;
}

}  // namespace

StrokedShape DigitShape(int digit, const DigitFrame& frame)
{
    const Guides g(frame);
    StrokedShape shape{{}, frame.halfWidth, frame.ink};
    switch (digit) {
    case 0:
        shape.strokes = Zero(g);
        break;
    case 1:
        shape.strokes = One(g);
        break;
    case 2:
        shape.strokes = Two(g);
        break;
    case 3:
        shape.strokes = Three(g);
        break;
    case 4:
        shape.strokes = Four(g);
        break;
    case 5:
        shape.strokes = Five(g);
        break;
    case 6:
        shape.strokes = Six(g);
        break;
    case 7:
        shape.strokes = Seven(g);
        break;
    case 8:
        shape.strokes = Eight(g);
        break;
    case 9: {
        // A 9 is a 6 turned half a turn about the centre of its ink frame.
        const PixelRect& f = frame.ink;
        return TurnedHalfway({Six(g), frame.halfWidth, f}, f.left + f.right, f.top + f.bottom);
    }
    default:
        break;
    }
    return shape;
}

}  // namespace tickvane::glyphgen
