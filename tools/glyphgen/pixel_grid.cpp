#include "pixel_grid.h"

#include <algorithm>

namespace tickvane::glyphgen {

void DrawGrid(IndexedImage& image, std::span<const std::string_view> rows, int x, int y, std::uint8_t index,
              bool turned)
{
    std::size_t width = 0;
    for (std::string_view row : rows)
        width = std::max(width, row.size());
    for (std::size_t r = 0; r < rows.size(); ++r)
        for (std::size_t c = 0; c < rows[r].size(); ++c) {
            if (rows[r][c] != '#')
                continue;
            const std::size_t dr = turned ? rows.size() - 1 - r : r;
            const std::size_t dc = turned ? width - 1 - c : c;
            image.set(x + static_cast<int>(dc), y + static_cast<int>(dr), index);
        }
}

}  // namespace tickvane::glyphgen
