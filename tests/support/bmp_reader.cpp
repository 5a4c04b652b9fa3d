#include "bmp_reader.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace tickvane::test {

namespace {

uint32_t le32(const std::vector<unsigned char>& b, size_t at)
{
    if (at + 4 > b.size())
        throw std::runtime_error("bmp: truncated");
    return (uint32_t)b[at] | (uint32_t)b[at + 1] << 8 | (uint32_t)b[at + 2] << 16 | (uint32_t)b[at + 3] << 24;
}

}  // namespace

Image read_bmp(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::vector<unsigned char> b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (b.size() < 54 || b[0] != 'B' || b[1] != 'M')
        throw std::runtime_error("bmp: not a bitmap file: " + path);
    uint32_t bits_at = le32(b, 10);
    uint32_t header = le32(b, 14);
    int32_t width = (int32_t)le32(b, 18);
    int32_t height = (int32_t)le32(b, 22);
    int bpp = b[28] | b[29] << 8;
    uint32_t colours = le32(b, 46);
    if (le32(b, 30) != 0 || (bpp != 8 && bpp != 24) || width <= 0 || height == 0)
        throw std::runtime_error("bmp: unsupported layout: " + path);
    std::vector<uint32_t> palette;
    for (uint32_t i = 0; bpp == 8 && i < (colours ? colours : 256); ++i) {
        size_t p = 14 + header + i * 4;
        palette.push_back((uint32_t)b.at(p + 2) << 16 | (uint32_t)b.at(p + 1) << 8 | b.at(p));
    }
    Image img;
    img.width = width;
    img.height = height < 0 ? -height : height;
    size_t stride = ((size_t)width * (size_t)bpp + 31) / 32 * 4;
    for (int y = 0; y < img.height; ++y) {
        size_t row = bits_at + stride * (size_t)(height > 0 ? img.height - 1 - y : y);
        for (int x = 0; x < width; ++x) {
            if (bpp == 8)
                img.pixels.push_back(palette.at(b.at(row + (size_t)x)));
            else
                img.pixels.push_back((uint32_t)b.at(row + (size_t)x * 3 + 2) << 16 |
                                     (uint32_t)b.at(row + (size_t)x * 3 + 1) << 8 | b.at(row + (size_t)x * 3));
        }
    }
    return img;
}

}  // namespace tickvane::test
