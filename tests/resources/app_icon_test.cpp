// The committed icon: four images with honest headers and masks that cut out a round face.
#include "resource_readers.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace {

namespace restest = tickvane::restest;

using restest::Bytes;
using restest::U16;
using restest::U32;

struct IconImage {
    int size = 0, bits = 0;
    std::vector<bool> transparent;  // from the AND mask, top row first
    std::vector<int> colour;        // palette index from the XOR image, top row first
};

bool Bit(const Bytes& f, std::size_t rowStart, int x, int bits)
{
    const std::size_t at = rowStart + static_cast<std::size_t>(x * bits / 8);
    const int shift = 8 - bits - (x * bits) % 8;
    return ((f.at(at) >> shift) & ((1 << bits) - 1)) != 0;
}

int Index(const Bytes& f, std::size_t rowStart, int x, int bits)
{
    const std::size_t at = rowStart + static_cast<std::size_t>(x * bits / 8);
    const int shift = 8 - bits - (x * bits) % 8;
    return (f.at(at) >> shift) & ((1 << bits) - 1);
}

std::size_t Stride(int width, int bits) { return static_cast<std::size_t>((width * bits + 31) / 32 * 4); }

// Checks one directory entry against the DIB it points at, and decodes it.
IconImage DecodeEntry(const Bytes& f, std::size_t entry)
{
    IconImage img{f.at(entry), U16(f, entry + 6), {}, {}};
    const std::uint32_t size = U32(f, entry + 8), offset = U32(f, entry + 12);
    EXPECT_EQ(f.at(entry + 1), img.size);
    EXPECT_EQ(f.at(entry + 2), 1 << img.bits) << "colour count";
    EXPECT_EQ(U16(f, entry + 4), 1) << "planes";
    const std::size_t palette = 4u << img.bits, xorBytes = Stride(img.size, img.bits) * img.size,
                      andBytes = Stride(img.size, 1) * img.size;
    EXPECT_EQ(size, 40 + palette + xorBytes + andBytes);
    EXPECT_LE(offset + size, f.size());
    EXPECT_EQ(U32(f, offset), 40u);
    EXPECT_EQ(static_cast<int>(U32(f, offset + 4)), img.size);
    EXPECT_EQ(static_cast<int>(U32(f, offset + 8)), 2 * img.size) << "height covers colour rows and mask";
    EXPECT_EQ(U16(f, offset + 14), img.bits);
    const std::size_t xorStart = offset + 40 + palette, andStart = xorStart + xorBytes;
    for (int y = 0; y < img.size; ++y) {
        const int stored = img.size - 1 - y;  // bottom-up
        for (int x = 0; x < img.size; ++x) {
            img.transparent.push_back(Bit(f, andStart + Stride(img.size, 1) * stored, x, 1));
            img.colour.push_back(Index(f, xorStart + Stride(img.size, img.bits) * stored, x, img.bits));
        }
    }
    return img;
}

std::map<std::pair<int, int>, IconImage> LoadIcon()
{
    const Bytes f = restest::ReadFile(std::string(TICKVANE_RESOURCES_DIR) + "/zubo.ico");
    EXPECT_EQ(U16(f, 0), 0);
    EXPECT_EQ(U16(f, 2), 1) << "an icon, not a cursor";
    std::map<std::pair<int, int>, IconImage> images;
    for (std::size_t i = 0; i < U16(f, 4); ++i) {
        IconImage img = DecodeEntry(f, 6 + 16 * i);
        images[{img.size, img.bits}] = img;
    }
    return images;
}

TEST(AppIcon, HoldsSixteenAndThirtyTwoPixelsEachInSixteenColoursAndMonochrome)
{
    const auto images = LoadIcon();
    EXPECT_EQ(images.size(), 4u);
    for (auto key : {std::pair{16, 4}, {16, 1}, {32, 4}, {32, 1}})
        EXPECT_EQ(images.count(key), 1u) << key.first << "px " << key.second << "-bit";
}

TEST(AppIcon, MasksCutOutARoundFaceAndLeaveTheScreenUntouchedOutsideIt)
{
    for (const auto& [key, img] : LoadIcon()) {
        SCOPED_TRACE(std::to_string(key.first) + "px " + std::to_string(key.second) + "-bit");
        const int n = img.size;
        const auto at = [&](int x, int y) { return static_cast<std::size_t>(y * n + x); };
        for (auto [x, y] : {std::pair{0, 0}, {n - 1, 0}, {0, n - 1}, {n - 1, n - 1}})
            EXPECT_TRUE(img.transparent[at(x, y)]) << "corner " << x << "," << y;
        for (auto [x, y] : {std::pair{n / 2, 0}, {0, n / 2}, {n / 2, n / 2}, {n - 1, n / 2}})
            EXPECT_FALSE(img.transparent[at(x, y)]) << "face " << x << "," << y;
        int faceColours = 0;
        for (std::size_t i = 0; i < img.transparent.size(); ++i) {
            if (img.transparent[i])
                EXPECT_EQ(img.colour[i], 0) << "XOR must be 0 where transparent, pixel " << i;
            else
                faceColours |= 1 << img.colour[i];
        }
        EXPECT_GT(__builtin_popcount(static_cast<unsigned>(faceColours)), 1) << "face is one flat colour";
    }
}

TEST(AppIcon, MonochromeImagesShareTheColourImagesOutline)
{
    const auto images = LoadIcon();
    for (int n : {16, 32})
        EXPECT_EQ(images.at({n, 4}).transparent, images.at({n, 1}).transparent) << n;
}

}  // namespace
