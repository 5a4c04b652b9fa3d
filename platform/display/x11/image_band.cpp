#include "image_band.h"

#include <algorithm>
#include <bit>

namespace tickvane::display {
namespace {

// Small enough to stay in the cache between bands, large enough that a whole frame of a
// 480 x 640 window is a score of requests. A band holds at least one row of zoom blocks.
constexpr size_t kBandBytes = 64 * 1024;

constexpr int kHostByteOrder = std::endian::native == std::endian::little ? LSBFirst : MSBFirst;

// Rows of `scale`-pixel blocks per band for an area `width` window pixels wide: as many as
// fit in the band's usual bytes, and at least one block row.
int band_block_rows(int width, int scale)
{
    size_t block_row_bytes = static_cast<size_t>(std::max(width, 1)) * 4 * static_cast<size_t>(std::max(scale, 1));
    return static_cast<int>(std::max<size_t>(1, kBandBytes / block_row_bytes));
}

}  // namespace

bool ImageBand::start(std::string& why_not)
{
    // A one-pixel image tells how the server wants this depth laid out.
    XImage* probe = XCreateImage(dpy_, visual_.visual, static_cast<unsigned>(visual_.depth), ZPixmap, 0, nullptr, 1, 1,
                                 32, 0);
    if (probe == nullptr) {
        why_not = "cannot describe a " + std::to_string(visual_.depth) + "-bit image";
        return false;
    }
    format_ = *probe;
    XDestroyImage(probe);  // no data: frees the header alone
    // Written in our byte order; Xlib converts while sending if the server's differs.
    format_.byte_order = kHostByteOrder;
    format_.data = nullptr;
    if (format_.bits_per_pixel != 32 ||
        !layout_for(visual_.red_mask, visual_.green_mask, visual_.blue_mask, visual_.depth, false, layout_)) {
        why_not = "the X server keeps " + std::to_string(visual_.depth) + "-bit pixels in " +
                  std::to_string(format_.bits_per_pixel) + " bits, not 32";
        return false;
    }
    return true;
}

void ImageBand::send(Window window, GC gc, const Pixels& screen, const Rect& area, int scale)
{
    if (area.w <= 0 || area.h <= 0)
        return;
    int width = area.w * scale;
    int block_rows = band_block_rows(width, scale);
    // One row of zoom blocks may be wider than the usual band (zoom 8 on a large monitor).
    size_t bytes = static_cast<size_t>(block_rows) * static_cast<size_t>(scale) * static_cast<size_t>(width) * 4;
    if (bytes > capacity_) {
        pixels_ = std::make_unique_for_overwrite<uint8_t[]>(bytes);
        capacity_ = bytes;
    }
    XImage band = format_;
    band.width = width;
    band.bytes_per_line = width * 4;  // rows packed: a small area touches only its own bytes
    band.data = reinterpret_cast<char*>(pixels_.get());
    for (int y = area.y; y < area.y + area.h; y += block_rows) {
        int rows = std::min(block_rows, area.y + area.h - y);
        band.height = rows * scale;
        XInitImage(&band);
        ImageBuffer target{pixels_.get(), width, band.height, band.bytes_per_line};
        blit_scaled(screen, Rect{area.x, y, area.w, rows}, target, layout_, scale);
        XPutImage(dpy_, window, gc, &band, 0, 0, area.x * scale, y * scale, static_cast<unsigned>(width),
                  static_cast<unsigned>(band.height));
    }
}

}  // namespace tickvane::display
