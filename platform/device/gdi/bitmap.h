// A bitmap as the device keeps it: any of the DIB layouts the resources use, either
// borrowed from the program's resources (read-only) or owned.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tickvane::device {

struct Bitmap {
    int width = 0;
    int height = 0;
    int bpp = 32;  // 1, 4, 8, 24 or 32
    std::vector<uint32_t> palette;  // 0x00RRGGBB, for 8 bpp and below
    const uint8_t* bits = nullptr;  // first stored row
    int stride = 0;                 // bytes from one stored row to the next
    bool bottom_up = false;         // stored rows run from the bottom of the image up
    std::vector<uint8_t> owned;     // backing store when the pixels are our own

    static Bitmap make_xrgb(int width, int height);  // screen format, all black

    const uint8_t* row(int y) const { return bits + (bottom_up ? height - 1 - y : y) * (std::ptrdiff_t)stride; }
    // Rows to write into; borrowed pixels are copied first so resources stay untouched.
    uint8_t* writable_row(int y);
    uint32_t pixel(int x, int y) const;  // 0x00RRGGBB
    void make_owned();
};

}  // namespace tickvane::device
