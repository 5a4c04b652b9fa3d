#include "gdi/fill_track.h"

#include <algorithm>

#include "gdi/pixels.h"

namespace tickvane::device {

namespace {

// More drawings than a face has glyphs: past this, the next fill is a plain one.
constexpr size_t kMaxDrawings = 64;

void fill_now(Bitmap& b, const PixelRect& r, uint32_t xrgb)
{
    for (int y = r.top; y < r.bottom; ++y)
        fill_run(b, r.left, y, r.right - r.left, xrgb);
    b.log.note(r);
}

// Carries out the owed fills that `where` says, dropping those drawings.
template <class Pred>
void settle_if(Bitmap& b, Pred where)
{
    auto& d = b.fills.drawings;
    for (const Drawing& drawing : d)
        if (drawing.owes_fill && where(drawing))
            fill_now(b, drawing.rect, b.fills.colour);
    d.erase(std::remove_if(d.begin(), d.end(), [&](const Drawing& x) { return x.owes_fill && where(x); }), d.end());
}

}  // namespace

void settle_fills(Bitmap& b)
{
    if (b.fills.active)
        settle_if(b, [](const Drawing&) { return true; });
}

void drop_fill_track(Bitmap& b)
{
    if (!b.fills.active)
        return;
    settle_fills(b);
    b.fills = FillTrack{};
}

void fill_tracked(Bitmap& b, const PixelRect& area, uint32_t xrgb)
{
    FillTrack& f = b.fills;
    if (f.active && f.area == area && f.colour == xrgb) {
        for (Drawing& d : f.drawings)
            d.owes_fill = true;
        return;
    }
    drop_fill_track(b);
    fill_now(b, area, xrgb);
    // Only the screen's format: elsewhere the fill's colour is not what a pixel reads back.
    if (b.bpp == 32)
        b.fills = FillTrack{true, area, xrgb, {}};
}

bool take_back_copy(Bitmap& b, const PixelRect& to, const CopySource& from)
{
    auto& d = b.fills.drawings;
    if (!b.fills.active)
        return false;
    auto same = std::find_if(d.begin(), d.end(), [&](const Drawing& x) {
        return x.owes_fill && x.exact && x.rect == to && x.from == from;
    });
    if (same == d.end() || same->overlapped)
        return false;
    same->owes_fill = false;
    return true;
}

void before_copy(Bitmap& b, const PixelRect& to)
{
    if (!b.fills.active)
        return;
    settle_if(b, [&](const Drawing& x) { return overlaps(x.rect, to); });
    for (Drawing& x : b.fills.drawings)
        if (overlaps(x.rect, to))
            x.exact = false;
}

void after_copy(Bitmap& b, const PixelRect& to, const CopySource& from)
{
    if (!b.fills.active)
        return;
    if (b.fills.drawings.size() >= kMaxDrawings) {
        drop_fill_track(b);
        return;
    }
    // Outside the fill's area nothing is tracked; a copy cut by its edge is not reusable.
    PixelRect inside = intersection(to, b.fills.area);
    if (inside.empty())
        return;
    Drawing drawing{inside, from, inside == to, false, false};
    // Marked once here, so that taking a copy back need not look at the others.
    for (Drawing& other : b.fills.drawings)
        if (overlaps(other.rect, inside))
            other.overlapped = drawing.overlapped = true;
    b.fills.drawings.push_back(drawing);
}

}  // namespace tickvane::device
