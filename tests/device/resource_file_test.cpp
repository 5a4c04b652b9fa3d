// The .res parser and the DIB reader take whatever bytes they are given without
// reading past them.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "embedded_res.h"
#include "res/dib.h"
#include "res/res_file.h"
#include "res/screen_bitmaps.h"

using namespace tickvane::device;

namespace {

std::vector<uint8_t> embedded()
{
    return std::vector<uint8_t>(tickvane_res_data, tickvane_res_data + tickvane_res_size);
}

std::vector<uint8_t> dib(int32_t width, int32_t height, uint16_t bpp, uint32_t colours, size_t pixel_bytes)
{
    std::vector<uint8_t> d(40 + colours * 4 + pixel_bytes, 0);
    auto put32 = [&](size_t at, uint32_t v) { std::memcpy(&d[at], &v, 4); };
    put32(0, 40);
    put32(4, (uint32_t)width);
    put32(8, (uint32_t)height);
    d[12] = 1;
    d[14] = (uint8_t)bpp;
    put32(32, colours);
    return d;
}

}  // namespace

TEST(ResFile, EmbeddedResourcesHoldTheSheetsAndTheIcon)
{
    std::vector<uint8_t> bytes = embedded();
    std::vector<ResEntry> entries = parse_res(bytes.data(), bytes.size());
    auto has = [&](uint16_t type, uint16_t name) {
        for (const ResEntry& e : entries)
            if (e.type.is_ordinal && e.type.ordinal == type && e.name.is_ordinal && e.name.ordinal == name)
                return true;
        return false;
    };
    EXPECT_TRUE(has(2, 121));
    EXPECT_TRUE(has(2, 122));
    EXPECT_TRUE(has(14, 128));
    EXPECT_TRUE(res_id_matches(entries.front().type, u"#2") || res_id_matches(entries.front().type, u"#14") ||
                res_id_matches(entries.front().type, u"#3"));
}

TEST(ResFile, EveryTruncationParsesToAPrefixWithoutReadingPastTheEnd)
{
    std::vector<uint8_t> bytes = embedded();
    size_t whole = parse_res(bytes.data(), bytes.size()).size();
    size_t previous = 0;
    for (size_t cut = 0; cut <= bytes.size(); cut += 7) {
        // A fresh allocation of exactly `cut` bytes, so that AddressSanitizer sees overreads.
        std::vector<uint8_t> part(bytes.begin(), bytes.begin() + (ptrdiff_t)cut);
        size_t n = parse_res(part.data(), part.size()).size();
        EXPECT_GE(n, previous);
        EXPECT_LE(n, whole);
        previous = n;
    }
    EXPECT_EQ(parse_res(nullptr, 100).size(), 0u);
}

TEST(ResFile, NamesMatchAsProgramsPassThem)
{
    ResId ordinal{true, 123, {}};
    EXPECT_TRUE(res_id_matches(ordinal, reinterpret_cast<const char16_t*>((uintptr_t)123)));
    EXPECT_TRUE(res_id_matches(ordinal, u"#123"));
    EXPECT_FALSE(res_id_matches(ordinal, u"#12a"));
    EXPECT_FALSE(res_id_matches(ordinal, u"#99999999999999999999"));
    ResId text{false, 0, u"ZUBO"};
    EXPECT_TRUE(res_id_matches(text, u"zubo"));
    EXPECT_FALSE(res_id_matches(text, u"zub"));
}

TEST(Dib, AcceptsTheLayoutsResourcesUse)
{
    auto pal8 = dib(3, 2, 8, 4, 8);
    auto b = bitmap_from_dib(pal8.data(), pal8.size());
    ASSERT_TRUE(b.has_value());
    EXPECT_EQ(b->stride, 4);
    EXPECT_EQ(b->palette.size(), 4u);
    EXPECT_TRUE(b->bottom_up);
    auto top_down = dib(3, -2, 24, 0, 24);
    ASSERT_TRUE(bitmap_from_dib(top_down.data(), top_down.size()).has_value());
    EXPECT_FALSE(bitmap_from_dib(top_down.data(), top_down.size())->bottom_up);
}

TEST(Dib, RefusesWhatDoesNotAddUp)
{
    auto short_pixels = dib(3, 2, 24, 0, 23);
    EXPECT_FALSE(bitmap_from_dib(short_pixels.data(), short_pixels.size()).has_value());
    auto huge = dib(100000, 2, 24, 0, 0);
    EXPECT_FALSE(bitmap_from_dib(huge.data(), huge.size()).has_value());
    auto no_height = dib(3, 0, 24, 0, 0);
    EXPECT_FALSE(bitmap_from_dib(no_height.data(), no_height.size()).has_value());
    auto odd_depth = dib(3, 2, 16, 0, 16);
    EXPECT_FALSE(bitmap_from_dib(odd_depth.data(), odd_depth.size()).has_value());
    auto big_palette = dib(3, 2, 8, 100000, 8);
    EXPECT_FALSE(bitmap_from_dib(big_palette.data(), big_palette.size()).has_value());
    auto compressed = dib(3, 2, 8, 0, 8 + 1024);
    compressed[16] = 1;  // BI_RLE8
    EXPECT_FALSE(bitmap_from_dib(compressed.data(), compressed.size()).has_value());
    EXPECT_FALSE(bitmap_from_dib(compressed.data(), 11).has_value());
}

// The pixels the build made stand for the program's own bitmaps exactly, and bytes that
// do not match the DIB asked for, or end inside its pixels, give none.
TEST(ScreenBitmaps, AreThePixelsOfEveryProgramBitmapAndRefuseWhatDoesNotMatch)
{
    const uint8_t* made = tickvane_screen_bitmaps_data;
    size_t size = tickvane_screen_bitmaps_size;
    int checked = 0;
    for (const ResEntry& e : parse_res(tickvane_res_data, tickvane_res_size)) {
        if (!res_id_matches(e.type, RT_BITMAP))
            continue;
        std::optional<Surface> sheet = bitmap_from_dib(e.data, e.size);
        ASSERT_TRUE(sheet);
        int w = sheet->width, h = sheet->height;
        std::vector<uint32_t> converted((size_t)w * h);
        to_screen_format(*sheet, converted.data());
        uint32_t at = (uint32_t)(e.data - tickvane_res_data);
        const uint32_t* ready = find_screen_bitmap(made, size, at, e.size, w, h);
        ASSERT_NE(ready, nullptr) << "bitmap at " << at;
        EXPECT_EQ(std::memcmp(ready, converted.data(), converted.size() * 4), 0) << "bitmap at " << at;
        size_t pixels_end = (size_t)((const uint8_t*)ready - made) + converted.size() * 4;
        const struct {
            uint32_t at, dib_size;
            int width, height;
            size_t bytes;
        } refused[] = {
            {at + 1, e.size, w, h, size}, {at, e.size - 1, w, h, size},       {at, e.size, w + 1, h, size},
            {at, e.size, w, h - 1, size}, {at, e.size, w, h, pixels_end - 1}, {at, e.size, w, h, 3},
        };
        for (const auto& r : refused)
            EXPECT_EQ(find_screen_bitmap(made, r.bytes, r.at, r.dib_size, r.width, r.height), nullptr)
                << r.at << " " << r.dib_size << " " << r.width << "x" << r.height << " in " << r.bytes;
        ++checked;
    }
    EXPECT_EQ(checked, 2) << "the two glyph sheets";
}
