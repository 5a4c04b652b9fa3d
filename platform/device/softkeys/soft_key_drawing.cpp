// The bar's look: a dark gradient as on the handheld, two halves split by a thin
// engraved divider, each key's label centred in white (grey when it cannot be
// pressed), and a blue glow under the key being held down.
#include <algorithm>

#include "softkeys/shown_bar.h"
#include "softkeys/soft_key_bar.h"
#include "text/text.h"

namespace tickvane::device {

namespace {

constexpr int kLabelSize = 13;
constexpr int kLabelMargin = 3;
constexpr uint32_t kEdge = 0x0C0C0C;       // the line between the work area and the bar
constexpr uint32_t kHighlight = 0x6E6E6E;  // the bar's lit top row
constexpr uint32_t kTop = 0x4A4A4A, kBottom = 0x151515;
constexpr uint32_t kPressedTop = 0x7DB4F5, kPressedBottom = 0x1F5CC0;
constexpr uint32_t kDividerDark = 0x0A0A0A, kDividerLight = 0x5E5E5E;
constexpr uint32_t kLabel = 0xFFFFFF, kDisabledLabel = 0x7C7C7C;

uint32_t mix(uint32_t a, uint32_t b, int num, int den)
{
    uint32_t out = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        int x = (int)(a >> shift & 0xFF), y = (int)(b >> shift & 0xFF);
        out |= (uint32_t)(x + (y - x) * num / den) << shift;
    }
    return out;
}

// Vertical gradient over columns [left, right), rows [2, height): under the edge
// and the highlight rows.
void shade(uint32_t* px, int width, int height, int left, int right, uint32_t top, uint32_t bottom)
{
    for (int y = 2; y < height; ++y)
        std::fill(px + (ptrdiff_t)y * width + left, px + (ptrdiff_t)y * width + right,
                  mix(top, bottom, y - 2, std::max(height - 3, 1)));
}

void divider(uint32_t* px, int width, int height)
{
    int x = width / 2;
    for (int y = 5; y < height - 4; ++y) {
        px[(ptrdiff_t)y * width + x - 1] = kDividerDark;
        px[(ptrdiff_t)y * width + x] = kDividerLight;
    }
}

void label(uint32_t* px, int width, int height, int left, int right, const SoftKey& key)
{
    if (key.label.empty())
        return;
    text::Extent e = text::measure(key.label, kLabelSize);
    int room = right - left - 2 * kLabelMargin;
    int x = left + kLabelMargin + std::max(0, (room - e.width) / 2);
    int baseline = (height + e.ascent - e.descent) / 2 + 1;
    text::Target target{px, width, height, width};
    PixelRect clip{left + kLabelMargin, 0, right - kLabelMargin, height};
    text::draw(target, clip, x, baseline, key.label, kLabelSize, key.enabled ? kLabel : kDisabledLabel);
}

}  // namespace

void draw_soft_key_bar(uint32_t* pixels, int width, int height)
{
    if (pixels == nullptr || width < 4 || height < 4)
        return;
    std::fill(pixels, pixels + width, kEdge);
    std::fill(pixels + width, pixels + 2 * width, kHighlight);
    shade(pixels, width, height, 0, width, kTop, kBottom);
    ShownBar bar = shown_bar();
    int middle = width / 2;
    int pressed = pressed_soft_key();
    if (pressed >= 0)
        shade(pixels, width, height, pressed == 0 ? 0 : middle, pressed == 0 ? middle : width, kPressedTop,
              kPressedBottom);
    divider(pixels, width, height);
    label(pixels, width, height, 0, middle, bar.keys[0]);
    label(pixels, width, height, middle, width, bar.keys[1]);
}

}  // namespace tickvane::device
