#include "window_face.h"

#include <cstdio>

namespace tickvane::e2e {
namespace {

using test::Image;

struct Layout {
    int date_x, date_y;
    int large_x[4];  // hour tens, hour ones, minute tens, minute ones
    int colon_x, large_y;
    int seconds_x, seconds_y;
};
constexpr Layout kPortrait{0, 40, {0, 55, 125, 180}, 115, 80, 200, 220};
constexpr Layout kLandscape{100, 0, {0, 75, 165, 240}, 155, 40, 270, 0};

constexpr int kBadgeColumn[7] = {180, 0, 20, 40, 60, 80, 100};  // Sunday first
constexpr int kSlashColumn = 200, kBadgeRow = 50, kColonColumn = 808;

int small_column(int digit) { return digit == 0 ? 180 : (digit - 1) * 20; }
int large_column(int digit) { return 4 * small_column(digit) + 3; }

const Image& small_sheet()
{
    static const Image sheet = test::read_bmp(TICKVANE_RESOURCE_DIR "/small_glyphs.bmp");
    return sheet;
}

const Image& large_sheet()
{
    static const Image sheet = test::read_bmp(TICKVANE_RESOURCE_DIR "/large_glyphs.bmp");
    return sheet;
}

// A copy that reaches past the sheet leaves those pixels as they were (white).
void copy(Image& to, const Image& sheet, int sx, int sy, int w, int h, int x, int y)
{
    for (int j = 0; j < h && sy + j < sheet.height && y + j < to.height; ++j)
        for (int i = 0; i < w && sx + i < sheet.width && x + i < to.width; ++i)
            to.pixels[static_cast<size_t>((y + j) * to.width + x + i)] = sheet.at(sx + i, sy + j);
}

void small_digit(Image& to, int digit, int x, int y) { copy(to, small_sheet(), small_column(digit), 0, 15, 30, x, y); }

void date_row(Image& to, const ShownTime& t, const Layout& l)
{
    for (int i = 0, year = t.year; i < 4; ++i, year /= 10)
        small_digit(to, year % 10, 60 - 20 * i, 0);
    small_digit(to, t.month / 10, l.date_x, l.date_y);
    small_digit(to, t.month % 10, l.date_x + 20, l.date_y);
    copy(to, small_sheet(), kSlashColumn, 0, 15, 30, l.date_x + 35, l.date_y);
    small_digit(to, t.day / 10, l.date_x + 50, l.date_y);
    small_digit(to, t.day % 10, l.date_x + 70, l.date_y);
    copy(to, small_sheet(), kBadgeColumn[t.weekday % 7], kBadgeRow, 15, 31, l.date_x + 90, l.date_y);
}

}  // namespace

Image expected_client(const ShownTime& t, int screen_width, int screen_height)
{
    const Layout& l = screen_width > screen_height ? kLandscape : kPortrait;
    Image client;
    client.width = screen_width;
    client.height = screen_height - kTitleBarHeight - kSoftKeyBarHeight;
    client.pixels.assign(static_cast<size_t>(client.width * client.height), 0xFFFFFF);
    date_row(client, t, l);
    int large[4] = {t.hour / 10, t.hour % 10, t.minute / 10, t.minute % 10};
    for (int i = 0; i < 4; ++i)
        copy(client, large_sheet(), large_column(large[i]), 0, 55, screen_height, l.large_x[i], l.large_y);
    copy(client, large_sheet(), kColonColumn, 0, 10, screen_height, l.colon_x, l.large_y);
    small_digit(client, t.second / 10, l.seconds_x, l.seconds_y);
    small_digit(client, t.second % 10, l.seconds_x + 20, l.seconds_y);
    return client;
}

std::string compare_client(const Image& client, const std::vector<uint32_t>& shot, int window_width, int scale)
{
    int top = kTitleBarHeight * scale, width = client.width * scale, height = client.height * scale;
    if (window_width != width || shot.size() < static_cast<size_t>((top + height) * width))
        return "the capture has " + std::to_string(shot.size()) + " pixels, " + std::to_string(window_width) +
               " wide: not a " + std::to_string(width) + "-wide window holding the client area";
    int wrong = 0;
    char first[160] = "";
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            uint32_t got = shot[static_cast<size_t>((top + y) * width + x)], want = client.at(x / scale, y / scale);
            if (got != want && wrong++ == 0)
                std::snprintf(first, sizeof first, "client (%d, %d) shows %06x, expected %06x", x / scale, y / scale,
                              got, want);
        }
    return wrong == 0 ? std::string() : std::string(first) + "; " + std::to_string(wrong) + " window pixels differ";
}

}  // namespace tickvane::e2e
