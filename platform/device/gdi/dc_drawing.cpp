#include "gdi/dc_drawing.h"

#include <algorithm>
#include <cmath>

#include "gdi/gdi.h"
#include "text/text.h"

namespace tickvane::device {

namespace {

// The DC's clip in the bitmap's coordinates.
PixelRect bitmap_clip(const DrawTarget& t)
{
    return intersection(to_rect(t.clip).offset(t.origin_x, t.origin_y),
                        PixelRect{0, 0, t.bitmap->width, t.bitmap->height});
}

}  // namespace

int dc_draw_text(HDC hdc, int x, int baseline, std::u16string_view text, int pixel_size, uint32_t xrgb)
{
    DrawTarget t = draw_target(hdc);
    if (t.bitmap == nullptr || t.bitmap->bpp != 32 || t.bitmap->bottom_up || t.bitmap->height == 0)
        return text::measure(text, pixel_size).width;
    return t.bitmap->draw_text(bitmap_clip(t), x + t.origin_x, baseline + t.origin_y, text, pixel_size, xrgb);
}

void dc_fill(HDC hdc, const RECT& r, uint32_t xrgb)
{
    DrawTarget t = draw_target(hdc);
    if (t.bitmap == nullptr)
        return;
    PixelRect area = intersection(to_rect(r).offset(t.origin_x, t.origin_y), bitmap_clip(t));
    if (area.empty())
        return;
    t.bitmap->fill(area, xrgb);
}

void dc_disc(HDC hdc, int x, int y, int diameter, uint32_t xrgb)
{
    double r = diameter / 2.0;
    for (int row = 0; row < diameter; ++row) {
        double dy = row + 0.5 - r;
        int half = (int)(std::sqrt(std::max(0.0, r * r - dy * dy)) + 0.5);
        int mid = x + (int)r;
        dc_fill(hdc, RECT{mid - half, y + row, mid + half, y + row + 1}, xrgb);
    }
}

}  // namespace tickvane::device
