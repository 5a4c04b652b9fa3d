// A paletted raster: every pixel is an index into a small table of exact colours.
#pragma once

#include <cstdint>
#include <vector>

namespace tickvane::glyphgen {

struct Rgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// Half-open pixel rectangle [left, right) x [top, bottom).
struct PixelRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

class IndexedImage {
public:
    IndexedImage(int width, int height, std::vector<Rgb> palette, std::uint8_t background);

    int width() const { return width_; }
    int height() const { return height_; }
    const std::vector<Rgb>& palette() const { return palette_; }

    std::uint8_t at(int x, int y) const;
    // Writes outside the image are dropped, so a careless glyph cannot corrupt memory.
    void set(int x, int y, std::uint8_t index);
    // Copies `src` with its top-left corner at (x, y), turning its ink (non-zero) into `index`.
    void stamp(const IndexedImage& src, int x, int y, std::uint8_t index);

private:
    std::size_t Offset(int x, int y) const;

    int width_;
    int height_;
    std::vector<Rgb> palette_;
    std::vector<std::uint8_t> pixels_;
};

// A one-bit mask image with palette {white, black}: index 1 is ink.
IndexedImage MakeMask(int width, int height);

}  // namespace tickvane::glyphgen
