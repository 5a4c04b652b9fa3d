// The surface every pixel write goes through: any of the DIB layouts the resources use,
// either borrowed from the program's resources (read-only) or owned.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <new>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "screen/change_log.h"
#include "win32.h"

namespace tickvane::device {

// Where a copy's pixels came from: whose pixels, as of which write, from where.
struct CopySource {
    uint64_t content = 0, version = 0;
    int x = 0, y = 0;
    bool operator==(const CopySource&) const = default;
};

// A memory bitmap that was filled with one colour, and what was drawn into that fill
// since. Filling the same rectangle with the same colour again only marks the drawings as
// owing the fill; a copy that lands exactly where the same pixels already stand takes
// its drawing back, so an unchanged picture redrawn costs no pixel work.
struct Drawing {
    PixelRect rect;
    CopySource from;
    bool exact = true;  // its pixels are still all the copy's
    bool owes_fill = false;
    bool overlapped = false;  // met another drawing: part of it may owe the fill to that one
};
struct FillTrack {
    bool active = false;
    PixelRect area;
    uint32_t colour = 0;
    std::vector<Drawing> drawings;  // inside `area`, where the fill may not show
};

// What a window's pixels were last copied from, so that the next copy of the same
// rectangle redoes only what the source changed since.
struct Mirror {
    CopySource from;
    PixelRect to;
    uint64_t own_version = 0;  // the destination's version right after that copy
};

// Pixel memory that starts zeroed by calloc instead of by a pass over it: a large block
// comes from the kernel already zero, and a page of it is touched only when drawn on.
// Only a vector made at its size (zeroed_pixels) is sure to be all zero.
template <typename T>
struct ZeroedAllocator {
    using value_type = T;
    ZeroedAllocator() = default;
    template <typename U>
    ZeroedAllocator(const ZeroedAllocator<U>&)
    {}
    T* allocate(std::size_t n)
    {
        void* p = std::calloc(n, sizeof(T));
        if (p == nullptr)
            throw std::bad_alloc();
        return static_cast<T*>(p);
    }
    void deallocate(T* p, std::size_t) { std::free(p); }
    template <typename U>
    void construct(U*) noexcept
    {}  // what calloc gave is the value
    template <typename U, typename... Args>
    void construct(U* p, Args&&... args)
    {
        ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }
    friend bool operator==(const ZeroedAllocator&, const ZeroedAllocator&) { return true; }
};
using PixelBytes = std::vector<uint8_t, ZeroedAllocator<uint8_t>>;

inline PixelBytes zeroed_pixels(std::size_t bytes) { return PixelBytes(bytes); }

// Pixels that something draws into: a window's, a memory bitmap's, a bar's. Every write
// goes through the operations below, which keep the bookkeeping that lets unchanged
// work be skipped: the change log (what a later copy of this surface must redo), the
// fill track (fills a memory bitmap still owes) and the mirror (what a window's pixels
// were last copied from). No writer reaches the rows themselves, so none can forget it.
class Surface {
public:
    // The layout, as a DIB describes it; a borrowed surface (a resource) sets it itself.
    int width = 0;
    int height = 0;
    int bpp = 32;                   // 1, 4, 8, 24 or 32
    std::vector<uint32_t> palette;  // 0x00RRGGBB, for 8 bpp and below
    const uint8_t* bits = nullptr;  // first stored row; borrowed pixels are never written
    int stride = 0;                 // bytes from one stored row to the next
    bool bottom_up = false;         // stored rows run from the bottom of the image up
    ContentId content;

    static Surface make_xrgb(int width, int height);        // screen format, all black
    static Surface make_monochrome(int width, int height);  // 1 bpp, black and white, all black

    const uint8_t* row(int y) const { return bits + (bottom_up ? height - 1 - y : y) * (std::ptrdiff_t)stride; }
    uint32_t pixel(int x, int y) const;  // 0x00RRGGBB
    void read(int x, int y, int count, uint32_t* xrgb) const;
    uint64_t version() const { return log_.version(); }  // grows with every write
    // Carries out the fills a memory surface still owes: before its pixels are read.
    void settle();

    // Writes. Areas are in the surface's coordinates and cut to the surface.
    void fill(const PixelRect& area, uint32_t xrgb);
    // A fill that a memory surface may owe until its pixels are read: filling the same
    // area with the same colour again costs nothing but the drawings made since.
    void fill_deferred(const PixelRect& area, uint32_t xrgb);
    void write(int x, int y, int count, const uint32_t* xrgb);
    // Text with its baseline at `baseline`, never outside `clip`; returns the advance.
    // Surfaces other than the screen's format take no text (the advance is still given).
    int draw_text(const PixelRect& clip, int x, int baseline, std::u16string_view text, int pixel_size, uint32_t xrgb);
    // `source` of `from` copied to `source` moved by dx, dy (both already cut to the
    // two surfaces). copy_shown writes only pixels that differ, looking again only at what
    // `from` changed since the same copy last time, and returns what changed; for a
    // surface the screen shows. copy_deferred goes through the fill track instead.
    PixelRect copy_shown(const Surface& from, const PixelRect& source, int dx, int dy);
    void copy_deferred(const Surface& from, const PixelRect& source, int dx, int dy);

    // A surface the screen shows, its top-left corner at `frame`'s (screen coordinates,
    // read at each write, so a move needs nothing here): every write then damages the
    // part of the screen it wrote.
    void show_at(const RECT* frame) { shown_at_ = frame; }

private:
    friend struct SurfaceAccess;  // the screen's own pixel loops (screen/surface_access.h)

    PixelBytes owned_;  // backing store when the pixels are our own
    ChangeLog log_;     // writes that said where they wrote
    FillTrack fills_;
    std::optional<Mirror> mirror_;
    const RECT* shown_at_ = nullptr;

    uint8_t* tracked_row(int y);         // borrowed pixels are copied first, so resources stay untouched
    void damage(const PixelRect& area);  // of the screen, where this surface is shown
    void noted(const PixelRect& area);   // a write: into the change log, and damage
    void make_owned();
};

}  // namespace tickvane::device
