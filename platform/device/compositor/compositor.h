// What the screen shows: the size as turned now, the composed pixels, the part that
// may differ from what the display shows, and the bars drawn last.
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

// A top-level window as the compositor stacks it: its pixels (0x00RRGGBB, the frame's
// top row first, `row_step` bytes from one row to the next) and where its frame stands.
struct Layer {
    const uint8_t* top_row = nullptr;
    std::ptrdiff_t row_step = 0;
    RECT frame{};
    bool above_title_bar = false;  // shown over the title bar too
};

struct Compositor {
    int width = 240;
    int height = 320;
    std::unique_ptr<display::Display> display;
    std::vector<uint32_t> pixels;  // what the display shows now
    int shown_width = 0;
    int shown_height = 0;
    bool damaged = true;  // part of the screen may differ from what is shown
    RECT damage{};        // screen coordinates; the whole screen when the layout changed
    BarCache bars;
};

Compositor& compositor();

}  // namespace tickvane::device
