// Renders the device's Japanese strings and the lists' digits at 11 to 14 px with every hinting choice,
// dark on white and white on a title-bar blue, into a PNG enlarged for inspection.
#include <png.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "text/font_face.h"
#include "text/font_locator.h"
#include "text/glyph_cache.h"
#include "text/text_run.h"

using namespace tickvane::text;

namespace {

constexpr std::u16string_view kLine =
    u"Tickvane オプション プログラムの終了 終了しますか？ ０分０秒は設定できません 適用 閉じる 秒 分 0 1 3 5 10 15 30 "
    u"45";
constexpr int kSizes[] = {11, 12, 13, 14};
constexpr int kRowHeight = 20;
constexpr int kLabelWidth = 90;
constexpr uint32_t kTitleBlue = 0x00103C9C;

struct Mode {
    Hinting hinting;
    const char16_t* name;
};
constexpr Mode kModes[] = {
    {Hinting::Light, u"light"},
    {Hinting::Native, u"native"},
    {Hinting::AutoFull, u"auto"},
    {Hinting::None, u"none"},
};

struct Sheet {
    int width, height;
    std::vector<uint32_t> pixels;
    Target target() { return {pixels.data(), width, height, width}; }
    void fill(int top, int bottom, uint32_t colour)
    {
        for (int y = top; y < bottom; ++y)
            for (int x = 0; x < width; ++x)
                pixels[size_t(y) * size_t(width) + size_t(x)] = colour;
    }
};

void draw_mode(Sheet& sheet, FontFace& face, const Mode& mode, int& top)
{
    GlyphCache glyphs(face, mode.hinting);
    for (int size : kSizes) {
        for (bool inverse : {false, true}) {
            sheet.fill(top, top + kRowHeight, inverse ? kTitleBlue : 0x00FFFFFF);
            const uint32_t ink = inverse ? 0x00FFFFFF : 0x00000000;
            const PixelRect row{0, top, sheet.width, top + kRowHeight};
            const std::u16string label = std::u16string(mode.name) + u" " + char16_t(u'0' + size / 10) +
                                         char16_t(u'0' + size % 10);
            draw_run(glyphs, sheet.target(), row, 4, top + 15, label, 12, ink);
            draw_run(glyphs, sheet.target(), row, kLabelWidth, top + 15, kLine, size, ink);
            top += kRowHeight;
        }
    }
    top += 6;
}

bool write_png(const char* path, const Sheet& sheet, int zoom)
{
    const int width = sheet.width * zoom, height = sheet.height * zoom;
    std::vector<uint8_t> rgb(size_t(width) * size_t(height) * 3);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const uint32_t p = sheet.pixels[size_t(y / zoom) * size_t(sheet.width) + size_t(x / zoom)];
            uint8_t* out = &rgb[(size_t(y) * size_t(width) + size_t(x)) * 3];
            out[0] = uint8_t(p >> 16), out[1] = uint8_t(p >> 8), out[2] = uint8_t(p);
        }
    }
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = png_uint_32(width);
    image.height = png_uint_32(height);
    image.format = PNG_FORMAT_RGB;
    return png_image_write_to_file(&image, path, 0, rgb.data(), 0, nullptr) != 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUT.png [ZOOM]\n", argv[0]);
        return 2;
    }
    const int zoom = argc > 2 ? std::max(1, std::min(8, std::atoi(argv[2]))) : 1;
    const auto file = locate_font(japanese_ui_font_requests());
    auto face = file ? FontFace::open(*file) : nullptr;
    if (!face) {
        std::fprintf(stderr, "no font\n");
        return 1;
    }
    Sheet sheet{kLabelWidth + 640, int(std::size(kModes) * (std::size(kSizes) * 2 * kRowHeight + 6)), {}};
    sheet.pixels.assign(size_t(sheet.width) * size_t(sheet.height), 0x00C0C0C0);
    int top = 0;
    for (const Mode& mode : kModes)
        draw_mode(sheet, *face, mode, top);
    if (!write_png(argv[1], sheet, zoom)) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    std::printf("%s: %s, %dx%d at zoom %d\n", argv[1], file->family.c_str(), sheet.width, sheet.height, zoom);
    return 0;
}
