// BitBlt and FillRect: plain copies and fills, clipped to the source bitmap, the
// destination bitmap and the destination DC's clip rectangle.
#include <algorithm>
#include <cstring>
#include <vector>

#include "gdi/gdi.h"
#include "gdi/pixels.h"

namespace tickvane::device {

namespace {

struct Span {
    int left, top, right, bottom;
    bool empty() const { return right <= left || bottom <= top; }
};

Span intersect(Span a, Span b)
{
    return Span{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
}

Span bounds_in_dc(const DrawTarget& t)
{
    // The bitmap's extent in DC coordinates, cut to what the DC may touch.
    Span bitmap{-t.origin_x, -t.origin_y, t.bitmap->width - t.origin_x, t.bitmap->height - t.origin_y};
    return intersect(bitmap, Span{t.clip.left, t.clip.top, t.clip.right, t.clip.bottom});
}

// Copies the rows; returns the first and one past the last destination row (DC
// coordinates) whose pixels really changed. Into a window only changed rows are
// written, so that the screen learns of nothing that stayed the same.
std::pair<int, int> copy_rows(DrawTarget& dst, int dx, int dy, const DrawTarget& src, int sx, int sy, int w, int h)
{
    int first_changed = dy + h, end_changed = dy;
    bool same = dst.bitmap == src.bitmap;
    bool upward = same && dy + dst.origin_y > sy + src.origin_y;  // overlapping copy moving down
    bool plain = dst.bitmap->bpp == 32 && src.bitmap->bpp == 32;
    static thread_local std::vector<uint32_t> run;
    if (!plain)
        run.resize((size_t)w);
    for (int i = 0; i < h; ++i) {
        int row = upward ? h - 1 - i : i;
        int from_x = sx + src.origin_x, from_y = sy + src.origin_y + row;
        int to_x = dx + dst.origin_x, to_y = dy + dst.origin_y + row;
        if (plain) {  // the screen format on both sides: rows move as they are
            uint8_t* to = dst.bitmap->writable_row(to_y) + to_x * 4;  // may copy borrowed pixels: first
            const uint8_t* from = src.bitmap->row(from_y) + from_x * 4;
            if (dst.window != nullptr && std::memcmp(to, from, (size_t)w * 4) == 0)
                continue;
            std::memmove(to, from, (size_t)w * 4);
        } else {
            read_run(*src.bitmap, from_x, from_y, w, run.data());
            write_run(*dst.bitmap, to_x, to_y, w, run.data());
        }
        first_changed = std::min(first_changed, dy + row);
        end_changed = std::max(end_changed, dy + row + 1);
    }
    return {first_changed, end_changed};
}

}  // namespace

}  // namespace tickvane::device

using namespace tickvane::device;

BOOL WINAPI BitBlt(HDC dest, int x, int y, int width, int height, HDC src, int srcX, int srcY, DWORD rop)
{
    if (rop != SRCCOPY)
        return FALSE;
    DrawTarget to = draw_target(dest);
    DrawTarget from = draw_target(src);
    if (to.bitmap == nullptr || from.bitmap == nullptr)
        return FALSE;
    if (width <= 0 || height <= 0)
        return TRUE;
    // Cut the source rectangle to the source, then move the cut over to the destination.
    Span source = intersect(Span{srcX, srcY, srcX + width, srcY + height}, bounds_in_dc(from));
    Span wanted{x + source.left - srcX, y + source.top - srcY, x + source.right - srcX, y + source.bottom - srcY};
    Span target = intersect(wanted, bounds_in_dc(to));
    if (source.empty() || target.empty())
        return TRUE;
    int sx = source.left + (target.left - wanted.left);
    int sy = source.top + (target.top - wanted.top);
    auto [top, bottom] =
        copy_rows(to, target.left, target.top, from, sx, sy, target.right - target.left, target.bottom - target.top);
    if (top < bottom)
        drawn(to, target.left, top, target.right, bottom);
    return TRUE;
}

int WINAPI FillRect(HDC hdc, const RECT* rect, HBRUSH brush)
{
    if (rect == nullptr)
        return 0;
    DrawTarget t = draw_target(hdc);
    if (t.bitmap == nullptr)
        return 0;
    bool hollow = false;
    COLORREF c = brush_colour(brush, hollow);
    if (hollow)
        return 1;
    uint32_t xrgb = (uint32_t)GetRValue(c) << 16 | (uint32_t)GetGValue(c) << 8 | GetBValue(c);
    Span area = intersect(Span{rect->left, rect->top, rect->right, rect->bottom}, bounds_in_dc(t));
    for (int row = area.top; row < area.bottom; ++row)
        fill_run(*t.bitmap, area.left + t.origin_x, row + t.origin_y, area.right - area.left, xrgb);
    if (!area.empty())
        drawn(t, area.left, area.top, area.right, area.bottom);
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
