#include "glyph_boxes.h"

#include <algorithm>
#include <cstdio>

namespace tickvane::wine {
namespace {

using test::Image;

struct SheetHeights {
    int small, large;
};

const SheetHeights& sheet_heights()
{
    static const SheetHeights heights{test::read_bmp(TICKVANE_RESOURCE_DIR "/small_glyphs.bmp").height,
                                      test::read_bmp(TICKVANE_RESOURCE_DIR "/large_glyphs.bmp").height};
    return heights;
}

// Rows that a copy of `rows` rows from row `from` gets out of a sheet `sheet_rows` high.
int rows_read(int rows, int from, int sheet_rows) { return std::clamp(sheet_rows - from, 0, rows); }

const Box* box_at(const std::vector<Box>& boxes, int x, int y)
{
    for (const Box& b : boxes)
        if (x >= b.x && x < b.x + b.width && y >= b.y && y < b.y + b.height)
            return &b;
    return nullptr;
}

bool year_shown_at(const Image& screen, int left, int top, const Image& face, const Box& year)
{
    for (int y = year.y; y < year.y + year.height; ++y)
        for (int x = year.x; x < year.x + year.width; ++x)
            if (screen.at(left + x, top + y) != face.at(x, y))
                return false;
    return true;
}

}  // namespace

// The painter's layout. Every glyph column lies inside its sheet, only rows get cut; and
// the face is drawn into a back buffer that covers the screen, so nothing reaches beyond.
std::vector<Box> glyph_boxes(int w, int h)
{
    bool landscape = w > h;
    int date_x = landscape ? 100 : 0, date_y = landscape ? 0 : 40, time_y = landscape ? 40 : 80;
    int seconds_x = landscape ? w - 50 : 200, seconds_y = landscape ? 0 : 220;
    int small = rows_read(30, 0, sheet_heights().small), badge = rows_read(31, 50, sheet_heights().small);
    int large = rows_read(h, 0, sheet_heights().large);
    std::vector<Box> boxes{
        {"year", 0, 0, 75, small},
        {"month", date_x, date_y, 35, small},
        {"slash", date_x + 35, date_y, 15, small},
        {"day", date_x + 50, date_y, 35, small},
        {"weekday badge", date_x + 90, date_y, 15, badge},
        {"hour tens", 0, time_y, 55, large},
        {"hour ones", w / 4 - 5, time_y, 55, large},
        {"colon", w / 2 - 5, time_y, 10, large},
        {"minute tens", w / 2 + 5, time_y, 55, large},
        {"minute ones", 3 * (w / 4), time_y, 55, large},
        {"seconds", seconds_x, seconds_y, 35, small},
    };
    for (Box& b : boxes) {
        b.width = std::clamp(w - b.x, 0, b.width);
        b.height = std::clamp(h - b.y, 0, b.height);
    }
    std::erase_if(boxes, [](const Box& b) { return b.width == 0 || b.height == 0; });
    return boxes;
}

std::optional<Point> find_client(const Image& screen, const Image& face, const Box& year, const Box& near)
{
    // A frame of a few pixels may stand left of and below the client area.
    for (int top = near.y; top >= near.y - 40 && top >= 0; --top)
        for (int left = near.x; left <= near.x + 16 && left + year.x + year.width <= screen.width; ++left)
            if (top + year.y + year.height <= screen.height && year_shown_at(screen, left, top, face, year))
                return Point{left, top};
    return std::nullopt;
}

std::string compare_face(const Image& screen, const Box& client, const Image& face, const std::vector<Box>& boxes)
{
    int wrong = 0;
    char first[200] = "";
    for (int y = 0; y < client.height && client.y + y < screen.height; ++y)
        for (int x = 0; x < client.width && client.x + x < screen.width; ++x) {
            const Box* box = box_at(boxes, x, y);
            if (box != nullptr && (x >= face.width || y >= face.height))
                continue;  // beyond our device's client area
            uint32_t got = screen.at(client.x + x, client.y + y), want = box ? face.at(x, y) : 0xFFFFFF;
            if (got != want && wrong++ == 0)
                std::snprintf(first, sizeof first, "%s: client (%d, %d) shows %06x under Wine, %06x on our device",
                              box ? box->name.c_str() : "outside the glyph boxes", x, y, got, want);
        }
    return wrong == 0 ? "" : std::string(first) + "; " + std::to_string(wrong) + " pixels differ";
}

}  // namespace tickvane::wine
