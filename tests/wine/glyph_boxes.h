// Where the clock's face puts its glyphs, and the comparison of a capture of the
// Windows clock's window with the face our device draws, box by box.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "bmp_reader.h"

namespace tickvane::wine {

struct Box {
    std::string name;
    int x, y, width, height;  // in the client area
};

struct Point {
    int x, y;
};

// The client-area rectangles that the face copies glyphs into on a screen of this size,
// the year first, each cut to what its glyph sheet and the screen hold.
std::vector<Box> glyph_boxes(int screen_width, int screen_height);

// Where the clock's client area starts on `screen` (a capture of it): the place at or
// near the top left corner of `near` (where it should be) where the year box shows what
// it shows in `face`.
std::optional<Point> find_client(const test::Image& screen, const test::Image& face, const Box& year, const Box& near);

// Empty when the `client` area on `screen` equals `face` in every box and is white
// everywhere else; otherwise the first difference and how many pixels differ.
std::string compare_face(const test::Image& screen, const Box& client, const test::Image& face,
                         const std::vector<Box>& boxes);

}  // namespace tickvane::wine
