#include "res/dib.h"

namespace tickvane::device {

namespace {

constexpr int32_t kMaxSide = 16384;
constexpr uint32_t kBiRgb = 0;
constexpr uint32_t kBiBitfields = 3;

uint32_t u32(const uint8_t* p)
{
    return (uint32_t)p[0] | (uint32_t)p[1] << 8 | (uint32_t)p[2] << 16 | (uint32_t)p[3] << 24;
}
uint16_t u16(const uint8_t* p) { return (uint16_t)(p[0] | p[1] << 8); }

struct Header {
    int32_t width = 0, height = 0;
    uint16_t bpp = 0;
    uint32_t compression = kBiRgb;
    uint32_t colours = 0;
    size_t header_size = 0;
    size_t palette_entry = 4;  // RGBQUAD; RGBTRIPLE in the old core header
};

std::optional<Header> read_header(const uint8_t* d, size_t size)
{
    if (size < 12)
        return std::nullopt;
    Header h;
    h.header_size = u32(d);
    if (h.header_size == 12) {
        h.width = u16(d + 4);
        h.height = u16(d + 6);
        h.bpp = u16(d + 10);
        h.palette_entry = 3;
        return h;
    }
    if (h.header_size < 40 || h.header_size > size)
        return std::nullopt;
    h.width = (int32_t)u32(d + 4);
    h.height = (int32_t)u32(d + 8);
    h.bpp = u16(d + 14);
    h.compression = u32(d + 16);
    h.colours = u32(d + 32);
    return h;
}

bool standard_masks(const uint8_t* masks)
{
    return u32(masks) == 0xFF0000 && u32(masks + 4) == 0xFF00 && u32(masks + 8) == 0xFF;
}

}  // namespace

std::optional<Surface> bitmap_from_dib(const uint8_t* data, size_t size)
{
    if (data == nullptr)
        return std::nullopt;
    auto h = read_header(data, size);
    if (!h || h->width <= 0 || h->width > kMaxSide || h->height == 0 || h->height < -kMaxSide || h->height > kMaxSide)
        return std::nullopt;
    bool supported = h->bpp == 1 || h->bpp == 4 || h->bpp == 8 || h->bpp == 24 || h->bpp == 32;
    if (!supported)
        return std::nullopt;
    size_t offset = h->header_size;
    if (h->compression == kBiBitfields && h->bpp == 32) {
        // Only the usual 8-8-8 layout; the masks follow a 40-byte header.
        const uint8_t* masks = data + 40;  // inside a larger header, or right after a 40-byte one
        if (size < 52 || !standard_masks(masks))
            return std::nullopt;
        if (h->header_size == 40)
            offset += 12;
    } else if (h->compression != kBiRgb) {
        return std::nullopt;
    }
    size_t palette_size = h->bpp <= 8 ? (h->colours ? h->colours : (1u << h->bpp)) : 0;
    if (palette_size > 256 || offset + palette_size * h->palette_entry > size)
        return std::nullopt;

    Surface b;
    b.width = h->width;
    b.height = h->height < 0 ? -h->height : h->height;
    b.bpp = h->bpp;
    b.bottom_up = h->height > 0;
    b.stride = ((b.width * b.bpp + 31) / 32) * 4;
    for (size_t i = 0; i < palette_size; ++i) {
        const uint8_t* q = data + offset + i * h->palette_entry;
        b.palette.push_back((uint32_t)q[2] << 16 | (uint32_t)q[1] << 8 | q[0]);
    }
    offset += palette_size * h->palette_entry;
    if (offset + (size_t)b.stride * (size_t)b.height > size)
        return std::nullopt;
    b.bits = data + offset;
    return b;
}

}  // namespace tickvane::device
