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
void shade(Surface& bar, int left, int right, uint32_t top, uint32_t bottom)
{
    for (int y = 2; y < bar.height; ++y)
        bar.fill(PixelRect{left, y, right, y + 1}, mix(top, bottom, y - 2, std::max(bar.height - 3, 1)));
}

void divider(Surface& bar)
{
    int x = bar.width / 2;
    bar.fill(PixelRect{x - 1, 5, x, bar.height - 4}, kDividerDark);
    bar.fill(PixelRect{x, 5, x + 1, bar.height - 4}, kDividerLight);
}

void label(Surface& bar, int left, int right, const SoftKey& key)
{
    if (key.label.empty())
        return;
    text::Extent e = text::measure(key.label, kLabelSize);
    int room = right - left - 2 * kLabelMargin;
    int x = left + kLabelMargin + std::max(0, (room - e.width) / 2);
    int baseline = (bar.height + e.ascent - e.descent) / 2 + 1;
    PixelRect clip{left + kLabelMargin, 0, right - kLabelMargin, bar.height};
    bar.draw_text(clip, x, baseline, key.label, kLabelSize, key.enabled ? kLabel : kDisabledLabel);
}

}  // namespace

void draw_soft_key_bar(Surface& bar)
{
    int width = bar.width, height = bar.height;
    if (width < 4 || height < 4)
        return;
    bar.fill(PixelRect{0, 0, width, 1}, kEdge);
    bar.fill(PixelRect{0, 1, width, 2}, kHighlight);
    shade(bar, 0, width, kTop, kBottom);
    ShownBar shown = shown_bar();
    int middle = width / 2;
    int pressed = pressed_soft_key();
    if (pressed >= 0)
        shade(bar, pressed == 0 ? 0 : middle, pressed == 0 ? middle : width, kPressedTop, kPressedBottom);
    divider(bar);
    label(bar, 0, middle, shown.keys[0]);
    label(bar, middle, width, shown.keys[1]);
}

}  // namespace tickvane::device
