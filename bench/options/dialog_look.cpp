#include "dialog_look.h"

#include <algorithm>
#include <cstdlib>

namespace tickvane::bench {

namespace {

int red(uint32_t rgb) { return static_cast<int>((rgb >> 16) & 0xFF); }
int green(uint32_t rgb) { return static_cast<int>((rgb >> 8) & 0xFF); }
int blue(uint32_t rgb) { return static_cast<int>(rgb & 0xFF); }

// The device writes exact colours; a little slack covers a server that rounds.
bool near(uint32_t rgb, uint32_t want)
{
    constexpr int kSlack = 6;
    return std::abs(red(rgb) - red(want)) <= kSlack && std::abs(green(rgb) - green(want)) <= kSlack &&
           std::abs(blue(rgb) - blue(want)) <= kSlack;
}

bool is_dark(uint32_t rgb) { return std::max({red(rgb), green(rgb), blue(rgb)}) <= 0x60; }

// How many pixels of row `y` from `x0` to `x1` (exclusive) pass `test`.
template <typename Test>
int count_in_row(const ScreenPixels& screen, int y, int x0, int x1, Test test)
{
    int n = 0;
    for (int x = x0; x < x1; ++x)
        n += test(screen(x, y)) ? 1 : 0;
    return n;
}

}  // namespace

// The caption's gradient runs from 0x1B468F to 0x3A6CC4.
bool is_caption_blue(uint32_t rgb)
{
    return blue(rgb) >= 0x80 && blue(rgb) >= red(rgb) + 0x60 && blue(rgb) >= green(rgb) + 0x30;
}

bool close_button_painted(const ScreenPixels& screen, const ScreenRect& b)
{
    if (b.width < 8 || b.height < 8)
        return false;
    // Edges without their corners, which belong to both.
    int x0 = b.x + 2, x1 = b.x + b.width - 2, span = x1 - x0;
    auto light = [](uint32_t rgb) { return near(rgb, 0xFFFFFF); };
    if (count_in_row(screen, b.y, x0, x1, light) < span * 9 / 10)
        return false;
    if (count_in_row(screen, b.y + b.height - 1, x0, x1, is_dark) < span * 9 / 10)
        return false;
    int face = 0, strokes = 0, inside = 0;
    for (int y = b.y + 2; y < b.y + b.height - 2; ++y) {
        face += count_in_row(screen, y, x0, x1, [](uint32_t rgb) { return near(rgb, kDialogFace); });
        strokes += count_in_row(screen, y, x0, x1, is_dark);
        inside += span;
    }
    constexpr int kFewestStrokes = 20;  // three characters leave far more than this
    return face >= inside / 2 && strokes >= kFewestStrokes;
}

bool dialog_painted(const ScreenPixels& screen, const DialogProbes& p)
{
    return is_caption_blue(screen(p.caption.x, p.caption.y)) && near(screen(p.face.x, p.face.y), kDialogFace) &&
           close_button_painted(screen, p.close_button);
}

bool dialog_gone(const ScreenPixels& screen, const DialogProbes& p)
{
    return !is_caption_blue(screen(p.caption.x, p.caption.y)) && !near(screen(p.face.x, p.face.y), kDialogFace);
}

}  // namespace tickvane::bench
