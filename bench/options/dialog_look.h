// How the options dialog looks on the handheld's 240 x 320 screen, judged from a few
// pixels: is it there and fully painted, or gone again. Coordinates are screen pixels
// (the desktop window shows each one zoomed); colours are 0xRRGGBB.
#pragma once

#include <cstdint>
#include <functional>

namespace tickvane::bench {

struct ScreenPoint {
    int x = 0, y = 0;
};

struct ScreenRect {
    int x = 0, y = 0, width = 0, height = 0;
};

struct DialogProbes {
    ScreenPoint caption;      // inside the caption bar, clear of its title and close box
    ScreenPoint face;         // on the dialog's face, clear of every control
    ScreenRect close_button;  // the Close button, edges included
};

// Read off a screenshot of the dialog over the running clock: the caption runs over rows
// 27 to 46 (dark blue to lighter), the face down to row 235, the Close button's edges
// span x 108 to 182 and y 199 to 223. Under all three probes the clock shows white or
// black, never the face grey or a blue.
constexpr DialogProbes kOptionsDialog{{150, 36}, {180, 160}, {108, 199, 75, 25}};

constexpr uint32_t kDialogFace = 0xF0F0F0;

using ScreenPixels = std::function<uint32_t(int x, int y)>;

bool is_caption_blue(uint32_t rgb);

// The Close button drawn whole: a light top edge, a dark bottom edge, and its caption's
// dark strokes on the face grey in between.
bool close_button_painted(const ScreenPixels& screen, const ScreenRect& button);

// The device presents a frame only once every window has painted, so caption, face and
// the last button all showing means the dialog is on the screen complete.
bool dialog_painted(const ScreenPixels& screen, const DialogProbes& probes);

// Neither the caption nor the face shows at its probe point any more.
bool dialog_gone(const ScreenPixels& screen, const DialogProbes& probes);

}  // namespace tickvane::bench
