#include "png_file.h"

#include <png.h>

namespace tickvane::wine {

test::Image read_png(const std::string& path)
{
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&png, path.c_str()))
        return {};
    png.format = PNG_FORMAT_BGRA;  // little-endian 0xAARRGGBB words
    std::vector<uint32_t> pixels(static_cast<size_t>(png.width) * png.height);
    if (!png_image_finish_read(&png, nullptr, pixels.data(), 0, nullptr)) {
        png_image_free(&png);
        return {};
    }
    test::Image image{static_cast<int>(png.width), static_cast<int>(png.height), std::move(pixels)};
    for (uint32_t& p : image.pixels)
        p &= 0xFFFFFF;
    return image;
}

bool write_png(const test::Image& image, const std::string& path)
{
    std::vector<uint32_t> pixels = image.pixels;
    for (uint32_t& p : pixels)
        p |= 0xFF000000;
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    png.width = static_cast<png_uint_32>(image.width);
    png.height = static_cast<png_uint_32>(image.height);
    png.format = PNG_FORMAT_BGRA;
    return png_image_write_to_file(&png, path.c_str(), 0, pixels.data(), 0, nullptr) != 0;
}

}  // namespace tickvane::wine
