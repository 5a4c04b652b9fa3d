#include "res/screen_bitmaps.h"

#include <cstring>
#include <optional>

#include "res/dib.h"
#include "res/res_file.h"
#include "win32.h"

namespace tickvane::device {

namespace {

constexpr size_t kAlign = 16;

size_t aligned(size_t n) { return (n + kAlign - 1) / kAlign * kAlign; }

}  // namespace

void to_screen_format(const Surface& dib, uint32_t* out)
{
    for (int y = 0; y < dib.height; ++y)
        dib.read(0, y, dib.width, out + (size_t)y * (size_t)dib.width);
}

std::vector<uint8_t> make_screen_bitmaps(const uint8_t* res, size_t res_size)
{
    std::vector<ScreenBitmapEntry> entries;
    std::vector<Surface> dibs;
    for (const ResEntry& e : parse_res(res, res_size)) {
        if (!res_id_matches(e.type, RT_BITMAP))
            continue;
        std::optional<Surface> dib = bitmap_from_dib(e.data, e.size);
        if (!dib)
            continue;  // LoadBitmap refuses it at run time too
        entries.push_back({(uint32_t)(e.data - res), e.size, dib->width, dib->height, 0});
        dibs.push_back(std::move(*dib));
    }
    uint32_t count = (uint32_t)entries.size();
    size_t end = aligned(sizeof count + entries.size() * sizeof(ScreenBitmapEntry));
    for (auto& entry : entries) {
        entry.pixels_offset = (uint32_t)end;
        end = aligned(end + (size_t)entry.width * (size_t)entry.height * 4);
    }
    std::vector<uint8_t> bytes(end, 0);
    std::memcpy(bytes.data(), &count, sizeof count);
    std::memcpy(bytes.data() + sizeof count, entries.data(), entries.size() * sizeof(ScreenBitmapEntry));
    for (size_t i = 0; i < entries.size(); ++i)
        to_screen_format(dibs[i], reinterpret_cast<uint32_t*>(bytes.data() + entries[i].pixels_offset));
    return bytes;
}

const uint32_t* find_screen_bitmap(const uint8_t* bytes, size_t size, uint32_t dib_offset, uint32_t dib_size, int width,
                                   int height)
{
    uint32_t count = 0;
    if (bytes == nullptr || size < sizeof count)
        return nullptr;
    std::memcpy(&count, bytes, sizeof count);
    if (count > (size - sizeof count) / sizeof(ScreenBitmapEntry))
        return nullptr;
    for (uint32_t i = 0; i < count; ++i) {
        ScreenBitmapEntry e;
        std::memcpy(&e, bytes + sizeof count + i * sizeof e, sizeof e);
        if (e.dib_offset != dib_offset || e.dib_size != dib_size || e.width != width || e.height != height)
            continue;
        size_t pixels = (size_t)width * (size_t)height * 4;
        if (e.pixels_offset % kAlign != 0 || e.pixels_offset > size || pixels > size - e.pixels_offset)
            return nullptr;
        return reinterpret_cast<const uint32_t*>(bytes + e.pixels_offset);
    }
    return nullptr;
}

}  // namespace tickvane::device
