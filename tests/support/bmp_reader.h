// Reads a .bmp file on its own terms, apart from the device, so that tests can
// compare the screen with the glyph sheets as committed.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tickvane::test {

struct Image {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;  // 0x00RRGGBB, top row first
    uint32_t at(int x, int y) const { return pixels[(size_t)y * (size_t)width + (size_t)x]; }
};

// Uncompressed 8-bit palettised or 24-bit files; throws std::runtime_error otherwise.
Image read_bmp(const std::string& path);

}  // namespace tickvane::test
