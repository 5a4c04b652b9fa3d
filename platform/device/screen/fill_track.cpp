#include "screen/fill_track.h"

#include <algorithm>

#include "screen/pixels.h"
#include "screen/surface_access.h"

namespace tickvane::device {

namespace {

// More drawings than a face has glyphs: past this, the next fill is a plain one.
constexpr size_t kMaxDrawings = 64;

void fill_now(Surface& b, const PixelRect& r, uint32_t xrgb)
{
    for (int y = r.top; y < r.bottom; ++y)
        fill_run(b, r.left, y, r.right - r.left, xrgb);
    SurfaceAccess::log(b).note(r);
}

// Carries out the owed fills that `where` says, dropping those drawings.
template <class Pred>
void settle_if(Surface& b, Pred where)
{
    auto& d = SurfaceAccess::fills(b).drawings;
    for (const Drawing& drawing : d)
        if (drawing.owes_fill && where(drawing))
            fill_now(b, drawing.rect, SurfaceAccess::fills(b).colour);
    d.erase(std::remove_if(d.begin(), d.end(), [&](const Drawing& x) { return x.owes_fill && where(x); }), d.end());
}

}  // namespace

void settle_fills(Surface& b)
{
    if (SurfaceAccess::fills(b).active)
        settle_if(b, [](const Drawing&) { return true; });
}

void drop_fill_track(Surface& b)
{
    if (!SurfaceAccess::fills(b).active)
        return;
    settle_fills(b);
    SurfaceAccess::fills(b) = FillTrack{};
}

void fill_tracked(Surface& b, const PixelRect& area, uint32_t xrgb)
{
    FillTrack& f = SurfaceAccess::fills(b);
    if (f.active && f.area == area && f.colour == xrgb) {
        for (Drawing& d : f.drawings)
            d.owes_fill = true;
        return;
    }
    drop_fill_track(b);
    fill_now(b, area, xrgb);
    // Only the screen's format: elsewhere the fill's colour is not what a pixel reads back.
    if (b.bpp == 32)
        SurfaceAccess::fills(b) = FillTrack{true, area, xrgb, {}};
}

bool take_back_copy(Surface& b, const PixelRect& to, const CopySource& from)
{
    auto& d = SurfaceAccess::fills(b).drawings;
    if (!SurfaceAccess::fills(b).active)
        return false;
    auto same = std::find_if(d.begin(), d.end(), [&](const Drawing& x) {
        return x.owes_fill && x.exact && x.rect == to && x.from == from;
    });
    if (same == d.end() || same->overlapped)
        return false;
    same->owes_fill = false;
    return true;
}

void before_copy(Surface& b, const PixelRect& to)
{
    if (!SurfaceAccess::fills(b).active)
        return;
    settle_if(b, [&](const Drawing& x) { return overlaps(x.rect, to); });
    for (Drawing& x : SurfaceAccess::fills(b).drawings)
        if (overlaps(x.rect, to))
            x.exact = false;
}

void after_copy(Surface& b, const PixelRect& to, const CopySource& from)
{
    if (!SurfaceAccess::fills(b).active)
        return;
    if (SurfaceAccess::fills(b).drawings.size() >= kMaxDrawings) {
        drop_fill_track(b);
        return;
    }
    // Outside the fill's area nothing is tracked; a copy cut by its edge is not reusable.
    PixelRect inside = intersection(to, SurfaceAccess::fills(b).area);
    if (inside.empty())
        return;
    Drawing drawing{inside, from, inside == to, false, false};
    // Marked once here, so that taking a copy back need not look at the others.
    for (Drawing& other : SurfaceAccess::fills(b).drawings)
        if (overlaps(other.rect, inside))
            other.overlapped = drawing.overlapped = true;
    SurfaceAccess::fills(b).drawings.push_back(drawing);
}

}  // namespace tickvane::device
