// Copies between surfaces: into a shown surface only what differs, into a memory one
// through its fill track, so that a picture drawn again as it was costs little.
#include <algorithm>
#include <cstring>
#include <vector>

#include "screen/fill_track.h"
#include "screen/pixels.h"
#include "screen/surface_access.h"

namespace tickvane::device {

namespace {

struct Copy {
    Surface* to;
    const Surface* from;
    int dx, dy;  // destination minus source
};

// Copies one row segment, source columns [x0, x1) of source row y; with `compare`, only
// when it differs, widening `changed` (destination coordinates) to what did.
void copy_segment(const Copy& c, int y, int x0, int x1, bool compare, PixelRect& changed)
{
    int w = x1 - x0, to_x = x0 + c.dx, to_y = y + c.dy;
    int l = 0, r = w - 1;
    if (c.to->bpp == 32 && c.from->bpp == 32) {  // the screen format on both sides: rows move as they are
        auto* to = reinterpret_cast<uint32_t*>(SurfaceAccess::row(*c.to, to_y)) +
                   to_x;  // may copy borrowed pixels: first
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
    if (compare)
        changed = bounding_union(changed, PixelRect{to_x + l, to_y, to_x + r + 1, to_y + 1});
}

// Source rectangle `s` through `c`; with `compare`, returns what changed.
PixelRect copy_rect(const Copy& c, const PixelRect& s, bool compare)
{
    PixelRect changed;
    bool upward = c.to == c.from && c.dy > 0;  // overlapping copy moving down
    for (int i = 0; i < s.bottom - s.top; ++i)
        copy_segment(c, upward ? s.bottom - 1 - i : s.top + i, s.left, s.right, compare, changed);
    return changed;
}

CopySource stamp_of(const Surface& from, const PixelRect& source)
{
    return CopySource{from.content.value(), from.version(), source.left, source.top};
}

}  // namespace

PixelRect Surface::copy_shown(const Surface& from, const PixelRect& source, int dx, int dy)
{
    Copy c{this, &from, dx, dy};
    CopySource stamp = stamp_of(from, source);
    PixelRect target = source.offset(dx, dy);
    static thread_local std::vector<PixelRect> since;
    // A copy that repeats the last one from the same source looks only at what the
    // source says it changed since.
    bool repeat = mirror_ && mirror_->from.content == stamp.content && mirror_->from.x == stamp.x &&
                  mirror_->from.y == stamp.y && mirror_->to == target && mirror_->own_version == log_.version() &&
                  this != &from && from.log_.since(mirror_->from.version, since);
    drop_fill_track(*this);  // a shown surface keeps none; anything else settles first
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
    noted(changed);
    mirror_ = Mirror{stamp, target, log_.version()};
    return changed;
}

void Surface::copy_deferred(const Surface& from, const PixelRect& source, int dx, int dy)
{
    Copy c{this, &from, dx, dy};
    CopySource stamp = stamp_of(from, source);
    PixelRect target = source.offset(dx, dy);
    if (take_back_copy(*this, target, stamp))
        return;
    before_copy(*this, target);
    copy_rect(c, source, false);
    noted(target);
    mirror_.reset();
    after_copy(*this, target, stamp);
}

}  // namespace tickvane::device
