#include "screen/surface.h"

#include <cstring>

#include "screen/fill_track.h"
#include "screen/pixels.h"
#include "screen/screen.h"
#include "text/text.h"

namespace tickvane::device {

Surface Surface::make_xrgb(int width, int height)
{
    Surface b;
    b.width = width;
    b.height = height;
    b.bpp = 32;
    b.stride = width * 4;
    b.owned_ = zeroed_pixels((size_t)b.stride * (size_t)height);
    b.bits = b.owned_.data();
    return b;
}

Surface Surface::make_monochrome(int width, int height)
{
    Surface b;
    b.width = width;
    b.height = height;
    b.bpp = 1;
    b.palette = {0x000000, 0xFFFFFF};
    b.stride = ((width + 31) / 32) * 4;
    b.owned_ = zeroed_pixels((size_t)b.stride * (size_t)height);
    b.bits = b.owned_.data();
    return b;
}

void Surface::make_owned()
{
    if (!owned_.empty() || bits == nullptr)
        return;
    owned_.assign(bits, bits + (size_t)stride * (size_t)height);
    bits = owned_.data();
    content = ContentId();
}

uint8_t* Surface::tracked_row(int y)
{
    make_owned();
    return const_cast<uint8_t*>(row(y));
}

uint32_t Surface::pixel(int x, int y) const
{
    const uint8_t* r = row(y);
    auto from_palette = [&](unsigned index) { return index < palette.size() ? palette[index] : 0u; };
    switch (bpp) {
    case 32: {
        uint32_t v;
        std::memcpy(&v, r + x * 4, 4);
        return v & 0x00FFFFFFu;
    }
    case 24:
        return (uint32_t)r[x * 3] | (uint32_t)r[x * 3 + 1] << 8 | (uint32_t)r[x * 3 + 2] << 16;
    case 8:
        return from_palette(r[x]);
    case 4:
        return from_palette((r[x / 2] >> ((x & 1) ? 0 : 4)) & 0xF);
    case 1:
        return from_palette((r[x / 8] >> (7 - (x & 7))) & 1);
    }
    return 0;
}

void Surface::read(int x, int y, int count, uint32_t* xrgb) const { read_run(*this, x, y, count, xrgb); }

void Surface::settle() { settle_fills(*this); }

void Surface::damage(const PixelRect& area)
{
    if (shown_at_ != nullptr && !area.empty())
        mark_screen_area(area.offset(shown_at_->left, shown_at_->top));
}

void Surface::noted(const PixelRect& area)
{
    log_.note(area);
    damage(area);
}

void Surface::fill(const PixelRect& area, uint32_t xrgb)
{
    PixelRect r = intersection(area, PixelRect{0, 0, width, height});
    if (r.empty())
        return;
    drop_fill_track(*this);  // pixels it does not know of now stand in its area
    for (int y = r.top; y < r.bottom; ++y)
        fill_run(*this, r.left, y, r.width(), xrgb);
    noted(r);
    mirror_.reset();
}

void Surface::fill_deferred(const PixelRect& area, uint32_t xrgb)
{
    PixelRect r = intersection(area, PixelRect{0, 0, width, height});
    if (r.empty())
        return;
    fill_tracked(*this, r, xrgb);
    damage(r);
    mirror_.reset();
}

void Surface::write(int x, int y, int count, const uint32_t* xrgb)
{
    PixelRect r = intersection(PixelRect{x, y, x + count, y + 1}, PixelRect{0, 0, width, height});
    if (r.empty())
        return;
    drop_fill_track(*this);
    write_run(*this, r.left, y, r.width(), xrgb + (r.left - x));
    noted(r);
    mirror_.reset();
}

int Surface::draw_text(const PixelRect& clip, int x, int baseline, std::u16string_view text, int pixel_size,
                       uint32_t xrgb)
{
    PixelRect r = intersection(clip, PixelRect{0, 0, width, height});
    if (bpp != 32 || r.empty())
        return text::measure(text, pixel_size).width;
    drop_fill_track(*this);
    // The whole surface as the text's target, the clip as where it may write.
    auto* first = reinterpret_cast<uint32_t*>(tracked_row(0));
    int row_step = bottom_up ? -stride / 4 : stride / 4;
    int advance = text::draw(text::Target{first, width, height, row_step}, r, x, baseline, text, pixel_size, xrgb);
    noted(r);
    mirror_.reset();
    return advance;
}

}  // namespace tickvane::device
