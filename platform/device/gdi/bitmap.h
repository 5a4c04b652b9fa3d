// A bitmap as the device keeps it: any of the DIB layouts the resources use, either
// borrowed from the program's resources (read-only) or owned.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <new>
#include <optional>
#include <utility>
#include <vector>

#include "gdi/change_log.h"

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

struct Bitmap {
    int width = 0;
    int height = 0;
    int bpp = 32;                   // 1, 4, 8, 24 or 32
    std::vector<uint32_t> palette;  // 0x00RRGGBB, for 8 bpp and below
    const uint8_t* bits = nullptr;  // first stored row
    int stride = 0;                 // bytes from one stored row to the next
    bool bottom_up = false;         // stored rows run from the bottom of the image up
    PixelBytes owned;               // backing store when the pixels are our own
    ContentId content;
    ChangeLog log;  // writes that say where they wrote
    FillTrack fills;
    std::optional<Mirror> mirror;

    static Bitmap make_xrgb(int width, int height);  // screen format, all black

    const uint8_t* row(int y) const { return bits + (bottom_up ? height - 1 - y : y) * (std::ptrdiff_t)stride; }
    // Rows to write into; borrowed pixels are copied first so resources stay untouched.
    // The bitmap then no longer knows what changed where.
    uint8_t* writable_row(int y);
    // For writers that report each write to `log` themselves (and respect `fills`).
    uint8_t* tracked_row(int y);
    void forget_changes();               // before writing through tracked_row without reporting
    uint32_t pixel(int x, int y) const;  // 0x00RRGGBB
    void make_owned();
};

}  // namespace tickvane::device
