#include "face_model.h"

#include <cstdio>

#include "clock_run.h"
#include "testing.h"

namespace tickvane::test {

const Image& small_sheet()
{
    static const Image img = read_bmp(resource_path("small_glyphs.bmp"));
    return img;
}

const Image& large_sheet()
{
    static const Image img = read_bmp(resource_path("large_glyphs.bmp"));
    return img;
}

int small_digit(int d) { return d == 0 ? 180 : (d - 1) * 20; }
int large_digit(int d) { return 4 * small_digit(d) + 3; }

std::string compare_face(const std::vector<GlyphCopy>& copies)
{
    RECT area = device::testing::work_area();
    int W = area.right - area.left, H = area.bottom - area.top;
    std::vector<uint32_t> expected((size_t)W * (size_t)H, 0xFFFFFF);
    for (const GlyphCopy& c : copies)
        for (int j = 0; j < c.height; ++j)
            for (int i = 0; i < c.width; ++i) {
                int sx = c.src_x + i, sy = c.src_y + j, x = c.x + i, y = c.y + j;
                if (sx < c.sheet->width && sy < c.sheet->height && x < W && y < H)
                    expected[(size_t)y * W + x] = c.sheet->at(sx, sy);
            }
    int wrong = 0;
    char first[160] = "";
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            uint32_t got = device::testing::screen_pixel(area.left + x, area.top + y);
            uint32_t want = expected[(size_t)y * W + x];
            if (got != want && wrong++ == 0)
                std::snprintf(first, sizeof first, "client (%d, %d) is %06x, expected %06x", x, y, got, want);
        }
    if (wrong == 0)
        return {};
    return std::string(first) + "; " + std::to_string(wrong) + " pixels differ";
}

}  // namespace tickvane::test
