// What the display shows: the composed pixels, the size they were composed at, and the
// bars drawn last.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "display/display.h"
#include "win32.h"

namespace tickvane::device {

// The title and soft-key bars as last drawn, redrawn only when what they show changes.
struct BarCache {
    int width = -1;
    std::u16string title;
    uint64_t soft_keys = ~0ull;
    std::vector<uint32_t> title_bar;
    std::vector<uint32_t> soft_key_bar;
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
