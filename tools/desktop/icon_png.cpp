// Writes the program's icon, as the device reads it from the embedded resources, to a
// PNG with alpha for the desktop's menus: tickvane-icon OUT.png SIZE
#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "res/program_icon.h"
#include "res/resources.h"

using namespace tickvane::device;

namespace {

bool write_rgba_png(const char* path, int size, const uint32_t* argb)
{
    FILE* out = std::fopen(path, "wb");
    if (out == nullptr)
        return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    bool ok = info != nullptr && setjmp(png_jmpbuf(png)) == 0;
    if (ok) {
        png_init_io(png, out);
        png_set_IHDR(png, info, (png_uint_32)size, (png_uint_32)size, 8, PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE,
                     PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_write_info(png, info);
        std::vector<png_byte> row((size_t)size * 4);
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                uint32_t p = argb[(size_t)y * (size_t)size + (size_t)x];
                png_byte* o = &row[(size_t)x * 4];
                o[0] = (png_byte)(p >> 16), o[1] = (png_byte)(p >> 8), o[2] = (png_byte)p, o[3] = (png_byte)(p >> 24);
            }
            png_write_row(png, row.data());
        }
        png_write_end(png, nullptr);
    }
    png_destroy_write_struct(&png, &info);
    return std::fclose(out) == 0 && ok;
}

// The program's icon image of `want` pixels, else its largest image whose size divides
// `want`, enlarged by whole pixels: the icon is pixel art, which stays sharp that way.
std::vector<uint32_t> icon_of_size(const std::vector<uint32_t>& icons, int want)
{
    int best = 0;
    size_t best_at = 0;
    for (size_t at = 0; at + 2 <= icons.size(); at += 2 + (size_t)icons[at] * (size_t)icons[at + 1]) {
        int width = (int)icons[at], height = (int)icons[at + 1];
        if (width == height && width > best && want % width == 0)
            best = width, best_at = at;
    }
    std::vector<uint32_t> out;
    if (best == 0)
        return out;
    int times = want / best;
    out.resize((size_t)want * (size_t)want);
    for (int y = 0; y < want; ++y)
        for (int x = 0; x < want; ++x)
            out[(size_t)y * (size_t)want + (size_t)x] =
                icons[best_at + 2 + (size_t)(y / times) * (size_t)best + (size_t)(x / times)];
    return out;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3)
        return std::fputs("usage: tickvane-icon OUT.png SIZE\n", stderr), 2;
    int want = std::atoi(argv[2]);
    std::vector<uint32_t> icon = want > 0 && want <= 1024 ? icon_of_size(program_icon_pixels(program_instance()), want)
                                                          : std::vector<uint32_t>();
    if (icon.empty()) {
        std::fprintf(stderr, "tickvane-icon: the program has no icon that fits %d pixels\n", want);
        return 1;
    }
    return write_rgba_png(argv[1], want, icon.data()) ? 0 : (std::perror(argv[1]), 1);
}
