#include "res/program_icon.h"

#include <algorithm>
#include <map>
#include <optional>

#include "res/dib.h"
#include "res/resources.h"

namespace tickvane::device {

namespace {

constexpr uint16_t kGroupIcon = 14;
constexpr size_t kGroupHeader = 6, kGroupEntry = 14;

uint16_t u16(const uint8_t* p) { return (uint16_t)(p[0] | p[1] << 8); }
uint32_t u32(const uint8_t* p) { return (uint32_t)u16(p) | (uint32_t)u16(p + 2) << 16; }

bool comes_before(const ResId& a, const ResId& b)
{
    if (a.is_ordinal != b.is_ordinal)
        return !a.is_ordinal;
    return a.is_ordinal ? a.ordinal < b.ordinal : a.text < b.text;
}

const ResEntry* first_group(const std::vector<ResEntry>& all)
{
    const ResEntry* first = nullptr;
    for (const ResEntry& e : all)
        if (e.type.is_ordinal && e.type.ordinal == kGroupIcon &&
            (first == nullptr || comes_before(e.name, first->name)))
            first = &e;
    return first;
}

// An icon image is a DIB of twice its height: the colours, then a 1-bit mask.
std::optional<std::vector<uint32_t>> decode(const ResEntry& image)
{
    if (image.size < 40)
        return std::nullopt;
    std::vector<uint8_t> colours(image.data, image.data + image.size);
    int32_t doubled = (int32_t)u32(image.data + 8);
    if (doubled <= 0 || doubled % 2 != 0)
        return std::nullopt;
    int32_t height = doubled / 2;
    for (int i = 0; i < 4; ++i)
        colours[8 + i] = (uint8_t)((uint32_t)height >> (8 * i));
    std::optional<Surface> b = bitmap_from_dib(colours.data(), colours.size());
    if (!b)
        return std::nullopt;
    size_t header = u32(image.data);
    size_t mask_offset = header + b->palette.size() * 4 + (size_t)b->stride * (size_t)b->height;
    size_t mask_stride = (size_t)((b->width + 31) / 32) * 4;
    if (mask_offset + mask_stride * (size_t)b->height > image.size)
        return std::nullopt;
    std::vector<uint32_t> out{(uint32_t)b->width, (uint32_t)b->height};
    for (int y = 0; y < b->height; ++y) {
        const uint8_t* mask = image.data + mask_offset + (size_t)(b->height - 1 - y) * mask_stride;
        for (int x = 0; x < b->width; ++x) {
            bool clear = (mask[x / 8] >> (7 - x % 8)) & 1;
            out.push_back(clear ? 0 : 0xFF000000u | b->pixel(x, y));
        }
    }
    return out;
}

}  // namespace

std::vector<uint32_t> program_icon_pixels(HMODULE module)
{
    const std::vector<ResEntry>& all = resources_of(module);
    const ResEntry* group = first_group(all);
    if (group == nullptr || group->size < kGroupHeader)
        return {};
    size_t count = std::min<size_t>(u16(group->data + 4), (group->size - kGroupHeader) / kGroupEntry);
    std::map<int, std::pair<int, uint16_t>> best;  // width -> (colour bits, image id)
    for (size_t i = 0; i < count; ++i) {
        const uint8_t* e = group->data + kGroupHeader + i * kGroupEntry;
        int width = e[0] == 0 ? 256 : e[0];
        int bits = u16(e + 6);
        auto [it, fresh] = best.try_emplace(width, bits, u16(e + 12));
        if (!fresh && bits > it->second.first)
            it->second = {bits, u16(e + 12)};
    }
    std::vector<uint32_t> pixels;
    for (const auto& [width, choice] : best) {
        const ResEntry* image = find_resource(module, MAKEINTRESOURCEW(choice.second), RT_ICON);
        auto decoded = image != nullptr ? decode(*image) : std::nullopt;
        if (decoded)
            pixels.insert(pixels.end(), decoded->begin(), decoded->end());
    }
    return pixels;
}

}  // namespace tickvane::device
