// Glyph shapes as centre lines drawn with a round pen of fixed width, rasterised without anti-aliasing:
// a pixel is ink when its centre lies within the pen's half width of a stroke.
#pragma once

#include "indexed_image.h"

#include <variant>
#include <vector>

namespace tickvane::glyphgen {

struct Point {
    double x = 0;
    double y = 0;
};

// Butt ends stop square at the end point; Square ends run on by the half width; Round ends are discs.
enum class Cap { Butt, Square, Round };

struct Segment {
    Point from;
    Point to;
    Cap fromCap = Cap::Butt;
    Cap toCap = Cap::Butt;
};

// Swept counter-clockwise as seen on screen (y grows downwards) from startDeg to endDeg, where 0 degrees
// points right and 90 up. Both ends are cut radially.
struct Arc {
    Point centre;
    double radius = 0;
    double startDeg = 0;
    double endDeg = 0;
};

using Stroke = std::variant<Segment, Arc>;

// The strokes of one glyph. Ink is clipped to `clip`, so a stroke that runs past it ends flat on the
// clip edge: that is how terminals on the baseline and cap line are cut level.
struct StrokedShape {
    std::vector<Stroke> strokes;
    double halfWidth = 1;
    PixelRect clip;
};

// A filled disc of the shape's half width.
Segment Dot(Point centre);

// Sets every covered pixel of `image` to `index`.
void Rasterise(const StrokedShape& shape, IndexedImage& image, std::uint8_t index);

// The same shape turned half a turn inside a box of the given size (a 9 is a turned 6).
StrokedShape TurnedHalfway(const StrokedShape& shape, double boxWidth, double boxHeight);

}  // namespace tickvane::glyphgen
