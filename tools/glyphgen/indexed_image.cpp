#include "indexed_image.h"

#include <stdexcept>
#include <utility>

namespace tickvane::glyphgen {

IndexedImage::IndexedImage(int width, int height, std::vector<Rgb> palette, std::uint8_t background)
    : width_(width), height_(height), palette_(std::move(palette))
{
    if (width <= 0 || height <= 0 || background >= palette_.size())
        throw std::invalid_argument("bad image size or background colour");
    pixels_.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), background);
}

std::size_t IndexedImage::Offset(int x, int y) const
{
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x);
}

std::uint8_t IndexedImage::at(int x, int y) const
{
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        throw std::out_of_range("pixel outside image");
    return pixels_[Offset(x, y)];
}

void IndexedImage::set(int x, int y, std::uint8_t index)
{
    if (x < 0 || y < 0 || x >= width_ || y >= height_ || index >= palette_.size())
        return;
    pixels_[Offset(x, y)] = index;
}

void IndexedImage::stamp(const IndexedImage& src, int x, int y, std::uint8_t index)
{
    for (int sy = 0; sy < src.height(); ++sy)
        for (int sx = 0; sx < src.width(); ++sx)
            if (src.at(sx, sy) != 0)
                set(x + sx, y + sy, index);
}

IndexedImage MakeMask(int width, int height) { return IndexedImage(width, height, {{255, 255, 255}, {0, 0, 0}}, 0); }

}  // namespace tickvane::glyphgen
