// What the clock's client area must show in the desktop window for a given time: white,
// with glyphs copied from the committed sheets at the places the face puts them; and the
// comparison of a capture of the real window with it, de-scaled by the zoom.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "bmp_reader.h"

namespace tickvane::e2e {

constexpr int kTitleBarHeight = 26;    // screen rows above the client area
constexpr int kSoftKeyBarHeight = 26;  // and below it

struct ShownTime {
    int year, month, day;
    int weekday;  // 0 = Sunday
    int hour, minute, second;
};

// The client area in screen pixels on a `screen_width` x `screen_height` screen; the
// layout is landscape when the screen is wider than high.
test::Image expected_client(const ShownTime& time, int screen_width, int screen_height);

// Empty when every pixel of the client area in `shot` (a capture of the whole window,
// `window_width` wide, zoom `scale`) equals the screen pixel of `client` it enlarges;
// otherwise where it first differs and how many pixels do.
std::string compare_client(const test::Image& client, const std::vector<uint32_t>& shot, int window_width, int scale);

}  // namespace tickvane::e2e
