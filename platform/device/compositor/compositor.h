// What the display shows: the composed pixels, the size they were composed at, and the
// title bar drawn last.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "display/display.h"
#include "screen/surface.h"
#include "win32.h"

namespace tickvane::device {

// The title bar as last drawn, redrawn only when what it shows changes.
struct BarCache {
    int width = -1;
    std::u16string title;
    Surface title_bar;
};

struct Compositor {
    std::unique_ptr<display::Display> display;
    std::vector<uint32_t> pixels;  // what the display shows now
    int shown_width = 0;
    int shown_height = 0;
    BarCache bars;
};

Compositor& compositor();

}  // namespace tickvane::device
