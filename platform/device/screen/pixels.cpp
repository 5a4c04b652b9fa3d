#include "screen/pixels.h"

#include <algorithm>
#include <cstring>

#include "screen/surface_access.h"

namespace tickvane::device {

namespace {

int nearest_index(const Surface& b, uint32_t xrgb)
{
    int best = 0;
    long best_distance = -1;
    for (size_t i = 0; i < b.palette.size(); ++i) {
        uint32_t p = b.palette[i];
        long dr = (long)((p >> 16) & 0xFF) - (long)((xrgb >> 16) & 0xFF);
        long dg = (long)((p >> 8) & 0xFF) - (long)((xrgb >> 8) & 0xFF);
        long db = (long)(p & 0xFF) - (long)(xrgb & 0xFF);
        long d = dr * dr + dg * dg + db * db;
        if (best_distance < 0 || d < best_distance) {
            best_distance = d;
            best = (int)i;
        }
    }
    return best;
}

void put_indexed(Surface& b, uint8_t* row, int x, uint32_t xrgb)
{
    int index = nearest_index(b, xrgb);
    if (b.bpp == 8) {
        row[x] = (uint8_t)index;
    } else if (b.bpp == 4) {
        int shift = (x & 1) ? 0 : 4;
        row[x / 2] = (uint8_t)((row[x / 2] & ~(0xF << shift)) | (index << shift));
    } else {
        int bit = 7 - (x & 7);
        row[x / 8] = (uint8_t)((row[x / 8] & ~(1 << bit)) | ((index & 1) << bit));
    }
}

}  // namespace

void read_run(const Surface& b, int x, int y, int count, uint32_t* out)
{
    const uint8_t* row = b.row(y);
    switch (b.bpp) {
    case 32:
        for (int i = 0; i < count; ++i) {
            uint32_t v;
            std::memcpy(&v, row + (x + i) * 4, 4);
            out[i] = v & 0x00FFFFFFu;
        }
        return;
    case 24: {
        // Four bytes at a time, masked; the last pixel by bytes, as it may end the bitmap.
        const uint8_t* p = row + x * 3;
        int i = 0;
        for (; i + 1 < count; ++i, p += 3) {
            uint32_t v;
            std::memcpy(&v, p, 4);
            out[i] = v & 0x00FFFFFFu;
        }
        if (i < count)
            out[i] = (uint32_t)p[0] | (uint32_t)p[1] << 8 | (uint32_t)p[2] << 16;
        return;
    }
    case 8: {
        size_t n = b.palette.size();
        for (int i = 0; i < count; ++i) {
            unsigned index = row[x + i];
            out[i] = index < n ? b.palette[index] : 0;
        }
        return;
    }
    default:
        for (int i = 0; i < count; ++i)
            out[i] = b.pixel(x + i, y);
    }
}

void write_run(Surface& b, int x, int y, int count, const uint32_t* in)
{
    uint8_t* row = SurfaceAccess::row(b, y);
    if (b.bpp == 32) {
        std::memcpy(row + x * 4, in, (size_t)count * 4);
        return;
    }
    for (int i = 0; i < count; ++i) {
        if (b.bpp == 24) {
            uint8_t* p = row + (x + i) * 3;
            p[0] = (uint8_t)in[i];
            p[1] = (uint8_t)(in[i] >> 8);
            p[2] = (uint8_t)(in[i] >> 16);
        } else {
            put_indexed(b, row, x + i, in[i]);
        }
    }
}

void fill_run(Surface& b, int x, int y, int count, uint32_t xrgb)
{
    if (b.bpp == 32) {
        uint32_t* p = reinterpret_cast<uint32_t*>(SurfaceAccess::row(b, y)) + x;
        std::fill(p, p + count, xrgb);
        return;
    }
    for (int i = 0; i < count; ++i)
        write_run(b, x + i, y, 1, &xrgb);
}

}  // namespace tickvane::device
