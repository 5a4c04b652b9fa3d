#include "gdi/bitmap.h"

#include <cstring>

#include "gdi/fill_track.h"

namespace tickvane::device {

Bitmap Bitmap::make_xrgb(int width, int height)
{
    Bitmap b;
    b.width = width;
    b.height = height;
    b.bpp = 32;
    b.stride = width * 4;
    b.owned = zeroed_pixels((size_t)b.stride * (size_t)height);
    b.bits = b.owned.data();
    return b;
}

void Bitmap::make_owned()
{
    if (!owned.empty() || bits == nullptr)
        return;
    owned.assign(bits, bits + (size_t)stride * (size_t)height);
    bits = owned.data();
    content = ContentId();
}

uint8_t* Bitmap::writable_row(int y)
{
    forget_changes();
    return tracked_row(y);
}

void Bitmap::forget_changes()
{
    drop_fill_track(*this);
    log.forget();
    mirror.reset();
}

uint8_t* Bitmap::tracked_row(int y)
{
    make_owned();
    return const_cast<uint8_t*>(row(y));
}

uint32_t Bitmap::pixel(int x, int y) const
{
    const uint8_t* r = row(y);
    auto from_palette = [&](unsigned index) { return index < palette.size() ? palette[index] : 0u; };
    switch (bpp) {
    case 32: {
        uint32_t v;
        std::memcpy(&v, r + x * 4, 4);
        return v & 0x00FFFFFFu;
    }
    case 24:
        return (uint32_t)r[x * 3] | (uint32_t)r[x * 3 + 1] << 8 | (uint32_t)r[x * 3 + 2] << 16;
    case 8:
        return from_palette(r[x]);
    case 4:
        return from_palette((r[x / 2] >> ((x & 1) ? 0 : 4)) & 0xF);
    case 1:
        return from_palette((r[x / 8] >> (7 - (x & 7))) & 1);
    }
    return 0;
}

}  // namespace tickvane::device
