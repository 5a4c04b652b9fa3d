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

// A top-level window as the compositor stacks it: its pixels (0x00RRGGBB, the frame's
// top row first, `row_step` bytes from one row to the next) and where its frame stands.
struct Layer {
    const uint8_t* top_row = nullptr;
    std::ptrdiff_t row_step = 0;
    RECT frame{};
    bool above_title_bar = false;  // shown over the title bar too
};

struct Compositor {
    std::unique_ptr<display::Display> display;
    // What the display shows now; made without a pass of zeros, as a new size composes
    // every row into it before anything reads it.
    std::vector<uint32_t, ZeroedAllocator<uint32_t>> pixels;
    int shown_width = 0;
    int shown_height = 0;
    BarCache bars;
    display::DesktopOptions (*desktop_options)() = nullptr;  // asked as the desktop window opens
};

Compositor& compositor();

}  // namespace tickvane::device
