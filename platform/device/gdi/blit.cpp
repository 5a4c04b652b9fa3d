// BitBlt and FillRect: plain copies and fills, clipped to the source bitmap, the
// destination bitmap and the destination DC's clip rectangle.
#include <algorithm>
#include <cstring>
#include <vector>

#include "gdi/fill_track.h"
#include "gdi/gdi.h"
#include "gdi/pixels.h"

namespace tickvane::device {

namespace {

PixelRect bounds_in_dc(const DrawTarget& t)
{
    // The bitmap's extent in DC coordinates, cut to what the DC may touch.
    PixelRect bitmap{-t.origin_x, -t.origin_y, t.bitmap->width - t.origin_x, t.bitmap->height - t.origin_y};
    return intersection(bitmap, to_rect(t.clip));
}

struct Copy {
    Bitmap* to;
    const Bitmap* from;
    int dx, dy;  // destination minus source, in bitmap coordinates
};

// Copies one row segment, source columns [x0, x1) of source row y; with `compare`, only
// when it differs, widening `changed` (destination bitmap coordinates) to what did.
void copy_segment(const Copy& c, int y, int x0, int x1, bool compare, PixelRect& changed)
{
    int w = x1 - x0, to_x = x0 + c.dx, to_y = y + c.dy;
    int l = 0, r = w - 1;
    if (c.to->bpp == 32 && c.from->bpp == 32) {  // the screen format on both sides: rows move as they are
        auto* to = reinterpret_cast<uint32_t*>(c.to->tracked_row(to_y)) + to_x;  // may copy borrowed pixels: first
        const auto* from = reinterpret_cast<const uint32_t*>(c.from->row(y)) + x0;
        if (compare) {
            if (std::memcmp(to, from, (size_t)w * 4) == 0)
                return;
            while (to[l] == from[l])
                ++l;
            while (to[r] == from[r])
                --r;
        }
        std::memmove(to + l, from + l, (size_t)(r - l + 1) * 4);
    } else {
        static thread_local std::vector<uint32_t> run;
        run.resize((size_t)w);
        read_run(*c.from, x0, y, w, run.data());
        write_run(*c.to, to_x, to_y, w, run.data());
    }
    changed = bounding_union(changed, PixelRect{to_x + l, to_y, to_x + r + 1, to_y + 1});
}

// Source rectangle `s` (bitmap coordinates) through `c`; returns what changed.
PixelRect copy_rect(const Copy& c, const PixelRect& s, bool compare)
{
    PixelRect changed;
    bool upward = c.to == c.from && c.dy > 0;  // overlapping copy moving down
    for (int i = 0; i < s.bottom - s.top; ++i)
        copy_segment(c, upward ? s.bottom - 1 - i : s.top + i, s.left, s.right, compare, changed);
    return changed;
}

// Into a window only what changed is written, so that the screen learns of nothing that
// stayed the same; a copy that repeats the last one from the same source looks only at
// what the source says it changed since.
PixelRect copy_to_window(const Copy& c, const PixelRect& source, const CopySource& stamp)
{
    PixelRect target = source.offset(c.dx, c.dy);
    const std::optional<Mirror>& m = c.to->mirror;
    static thread_local std::vector<PixelRect> since;
    bool repeat = m && m->from.content == stamp.content && m->from.x == stamp.x && m->from.y == stamp.y &&
                  m->to == target && m->own_version == c.to->log.version() && c.to != c.from &&
                  c.from->log.since(m->from.version, since);
    PixelRect changed;
    if (!repeat) {
        changed = copy_rect(c, source, true);
    } else {
        for (size_t i = 0; i < since.size(); ++i) {
            const PixelRect& r = since[i];
            // A rectangle inside another one in the list is looked at with that one.
            auto within = [&](const PixelRect& o) { return &o != &r && contains(o, r) && (o != r || &o < &r); };
            if (std::any_of(since.begin(), since.end(), within))
                continue;
            changed = bounding_union(changed, copy_rect(c, intersection(r, source), true));
        }
    }
    c.to->log.note(changed);
    c.to->mirror = Mirror{stamp, target, c.to->log.version()};
    return changed;
}

// Into a memory bitmap: through its fill track, so a picture drawn again as it was costs nothing.
void copy_to_memory(const Copy& c, const PixelRect& source, const CopySource& stamp)
{
    PixelRect target = source.offset(c.dx, c.dy);
    if (take_back_copy(*c.to, target, stamp))
        return;
    before_copy(*c.to, target);
    copy_rect(c, source, false);
    c.to->log.note(target);
    c.to->mirror.reset();
    after_copy(*c.to, target, stamp);
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
    int w = target.width(), h = target.height();
    Copy c{to.bitmap, from.bitmap, target.left + to.origin_x - sx, target.top + to.origin_y - sy};
    CopySource stamp{from.bitmap->content.value(), from.bitmap->log.version(), sx, sy};
    PixelRect copied{sx, sy, sx + w, sy + h};
    if (to.window == nullptr) {
        copy_to_memory(c, copied, stamp);
        return TRUE;
    }
    PixelRect changed = copy_to_window(c, copied, stamp);
    if (!changed.empty())
        drawn(to, changed.left - to.origin_x, changed.top - to.origin_y, changed.right - to.origin_x,
              changed.bottom - to.origin_y);
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
    if (t.window == nullptr) {
        fill_tracked(*t.bitmap, r, xrgb);
        t.bitmap->mirror.reset();
        return 1;
    }
    for (int row = r.top; row < r.bottom; ++row)
        fill_run(*t.bitmap, r.left, row, r.right - r.left, xrgb);
    t.bitmap->log.note(r);
    t.bitmap->mirror.reset();
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
