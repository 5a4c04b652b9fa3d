// The large figures: condensed geometric digits built from straight strokes and circular arcs of a
// single pen width, so every stroke carries the same weight. Proportions follow the frame.
#pragma once

#include "strokes.h"

namespace tickvane::glyphgen {

// Where the figures stand inside their glyph box.
struct DigitFrame {
    PixelRect ink;     // no pixel outside this is ever set
    double halfWidth;  // half the pen width
};

// `digit` 0-9; anything else gives an empty shape.
StrokedShape DigitShape(int digit, const DigitFrame& frame);

}  // namespace tickvane::glyphgen
