// make_screen_bitmaps RES OUT: writes the bitmaps of the .res file RES, in the screen's
// format, to OUT, for the device's LoadBitmap to borrow (res/screen_bitmaps.h).
// Exit status: 0 written; 1 RES unreadable or OUT unwritable; 2 bad command line.
#include <cstdio>
#include <fstream>
#include <vector>

#include "res/screen_bitmaps.h"

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_screen_bitmaps RES OUT\n");
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary | std::ios::ate);
    std::streamoff size = in ? static_cast<std::streamoff>(in.tellg()) : -1;
    std::vector<uint8_t> res(size > 0 ? static_cast<size_t>(size) : 0);
    in.seekg(0);
    if (size <= 0 || !in.read(reinterpret_cast<char*>(res.data()), size)) {
        std::fprintf(stderr, "make_screen_bitmaps: cannot read %s\n", argv[1]);
        return 1;
    }
    std::vector<uint8_t> bytes = tickvane::device::make_screen_bitmaps(res.data(), res.size());
    std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        std::fprintf(stderr, "make_screen_bitmaps: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
