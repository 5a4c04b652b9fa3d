// BitBlt and FillRect: plain copies and fills, clipped to the source bitmap, the
// destination bitmap and the destination DC's clip rectangle, written through the
// destination's surface.
#include "gdi/gdi.h"

namespace tickvane::device {

namespace {

PixelRect bounds_in_dc(const DrawTarget& t)
{
    // The bitmap's extent in DC coordinates, cut to what the DC may touch.
    PixelRect bitmap{-t.origin_x, -t.origin_y, t.bitmap->width - t.origin_x, t.bitmap->height - t.origin_y};
    return intersection(bitmap, to_rect(t.clip));
}

}  // namespace

}  // namespace tickvane::device

using namespace tickvane::device;

BOOL WINAPI BitBlt(HDC dest, int x, int y, int width, int height, HDC src, int srcX, int srcY, DWORD rop)
{
    if (rop != SRCCOPY)
        return FALSE;
    DrawTarget to = draw_target(dest, true);
    DrawTarget from = draw_target(src);
    if (to.bitmap == nullptr || from.bitmap == nullptr)
        return FALSE;
    if (width <= 0 || height <= 0)
        return TRUE;
    // Cut the source rectangle to the source, then move the cut over to the destination.
    PixelRect source = intersection(PixelRect{srcX, srcY, srcX + width, srcY + height}, bounds_in_dc(from));
    PixelRect wanted = source.offset(x - srcX, y - srcY);
    PixelRect target = intersection(wanted, bounds_in_dc(to));
    if (source.empty() || target.empty())
        return TRUE;
    int sx = source.left + (target.left - wanted.left) + from.origin_x;
    int sy = source.top + (target.top - wanted.top) + from.origin_y;
    PixelRect copied{sx, sy, sx + target.width(), sy + target.height()};
    int dx = target.left + to.origin_x - sx, dy = target.top + to.origin_y - sy;
    if (!to.shown) {
        to.bitmap->copy_deferred(*from.bitmap, copied, dx, dy);
        return TRUE;
    }
    to.bitmap->copy_shown(*from.bitmap, copied, dx, dy);
    return TRUE;
}

int WINAPI FillRect(HDC hdc, const RECT* rect, HBRUSH brush)
{
    if (rect == nullptr)
        return 0;
    DrawTarget t = draw_target(hdc, true);
    if (t.bitmap == nullptr)
        return 0;
    bool hollow = false;
    COLORREF c = brush_colour(brush, hollow);
    if (hollow)
        return 1;
    uint32_t xrgb = (uint32_t)GetRValue(c) << 16 | (uint32_t)GetGValue(c) << 8 | GetBValue(c);
    PixelRect area = intersection(to_rect(*rect), bounds_in_dc(t));
    if (area.empty())
        return 1;
    PixelRect r = area.offset(t.origin_x, t.origin_y);
    if (!t.shown) {
        t.bitmap->fill_deferred(r, xrgb);
        return 1;
    }
    t.bitmap->fill(r, xrgb);
    return 1;
}

COLORREF WINAPI GetPixel(HDC hdc, int x, int y)
{
    DrawTarget t = draw_target(hdc);
    if (t.bitmap == nullptr || x < t.clip.left || y < t.clip.top || x >= t.clip.right || y >= t.clip.bottom)
        return 0xFFFFFFFF;  // CLR_INVALID
    int bx = x + t.origin_x, by = y + t.origin_y;
    if (bx < 0 || by < 0 || bx >= t.bitmap->width || by >= t.bitmap->height)
        return 0xFFFFFFFF;
    uint32_t v = t.bitmap->pixel(bx, by);
    return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
}
