#include "gdi/dc_drawing.h"

#include <algorithm>
#include <cmath>

#include "gdi/gdi.h"
#include "gdi/pixels.h"
#include "text/text.h"

namespace tickvane::device {

namespace {

// The DC's clip in the bitmap's coordinates.
RECT bitmap_clip(const DrawTarget& t)
{
    RECT c{t.clip.left + t.origin_x, t.clip.top + t.origin_y, t.clip.right + t.origin_x, t.clip.bottom + t.origin_y};
    c.left = std::max<LONG>(c.left, 0), c.top = std::max<LONG>(c.top, 0);
    c.right = std::min<LONG>(c.right, t.bitmap->width), c.bottom = std::min<LONG>(c.bottom, t.bitmap->height);
    return c;
}

}  // namespace

int dc_draw_text(HDC hdc, int x, int baseline, std::u16string_view text, int pixel_size, uint32_t xrgb)
{
    DrawTarget t = draw_target(hdc);
    if (t.bitmap == nullptr || t.bitmap->bpp != 32 || t.bitmap->bottom_up || t.bitmap->height == 0)
        return text::measure(text, pixel_size).width;
    RECT c = bitmap_clip(t);
    auto* pixels = reinterpret_cast<uint32_t*>(t.bitmap->writable_row(0));
    text::Target target{pixels, t.bitmap->width, t.bitmap->height, t.bitmap->stride / 4};
    int advance = text::draw(target, PixelRect{(int)c.left, (int)c.top, (int)c.right, (int)c.bottom}, x + t.origin_x,
                             baseline + t.origin_y, text, pixel_size, xrgb);
    drawn(t, std::max<int>(x, t.clip.left), std::max<int>(baseline - pixel_size * 2, t.clip.top),
          std::min<int>(x + advance + pixel_size, t.clip.right), std::min<int>(baseline + pixel_size, t.clip.bottom));
    return advance;
}

void dc_fill(HDC hdc, const RECT& r, uint32_t xrgb)
{
    DrawTarget t = draw_target(hdc);
    if (t.bitmap == nullptr)
        return;
    RECT c = bitmap_clip(t);
    int left = std::max<int>(r.left + t.origin_x, c.left), right = std::min<int>(r.right + t.origin_x, c.right);
    int top = std::max<int>(r.top + t.origin_y, c.top), bottom = std::min<int>(r.bottom + t.origin_y, c.bottom);
    if (left >= right || top >= bottom)
        return;
    t.bitmap->forget_changes();
    for (int y = top; y < bottom; ++y)
        fill_run(*t.bitmap, left, y, right - left, xrgb);
    drawn(t, left - t.origin_x, top - t.origin_y, right - t.origin_x, bottom - t.origin_y);
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
