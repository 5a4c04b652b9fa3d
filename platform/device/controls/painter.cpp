#include "controls/painter.h"

#include <algorithm>

#include "gdi/pixels.h"
#include "text/text.h"

namespace tickvane::device {

Painter::Painter(HWND hwnd) : hwnd_(hwnd)
{
    BeginPaint(hwnd, &ps_);
    target_ = draw_target(ps_.hdc);
    GetClientRect(hwnd, &client_);
}

Painter::~Painter()
{
    const RECT& p = ps_.rcPaint;
    if (target_.bitmap != nullptr && p.right > p.left && p.bottom > p.top)
        drawn(target_, p.left, p.top, p.right, p.bottom);
    EndPaint(hwnd_, &ps_);
}

RECT Painter::visible(const RECT& r) const
{
    if (target_.bitmap == nullptr)
        return RECT{0, 0, 0, 0};
    const RECT& c = target_.clip;
    RECT out{std::max({r.left, c.left, (LONG)-target_.origin_x}), std::max({r.top, c.top, (LONG)-target_.origin_y}),
             std::min({r.right, c.right, (LONG)(target_.bitmap->width - target_.origin_x)}),
             std::min({r.bottom, c.bottom, (LONG)(target_.bitmap->height - target_.origin_y)})};
    if (out.right < out.left)
        out.right = out.left;
    if (out.bottom < out.top)
        out.bottom = out.top;
    return out;
}

void Painter::fill(const RECT& r, uint32_t colour)
{
    RECT v = visible(r);
    if (v.top < v.bottom)
        target_.bitmap->forget_changes();
    for (LONG y = v.top; y < v.bottom; ++y)
        fill_run(*target_.bitmap, v.left + target_.origin_x, y + target_.origin_y, v.right - v.left, colour);
}

void Painter::frame(const RECT& r, uint32_t colour) { edge(r, colour, colour); }

void Painter::edge(const RECT& r, uint32_t top_left, uint32_t bottom_right)
{
    if (r.right <= r.left || r.bottom <= r.top)
        return;
    fill(RECT{r.left, r.top, r.right, r.top + 1}, top_left);
    fill(RECT{r.left, r.top, r.left + 1, r.bottom}, top_left);
    fill(RECT{r.left, r.bottom - 1, r.right, r.bottom}, bottom_right);
    fill(RECT{r.right - 1, r.top, r.right, r.bottom}, bottom_right);
}

void Painter::put(int x, int y, uint32_t colour) { fill(RECT{x, y, x + 1, y + 1}, colour); }

void Painter::dotted_frame(const RECT& r, uint32_t colour)
{
    // Every other pixel, counted around the rectangle as Windows' focus rectangle is.
    for (LONG x = r.left; x < r.right; x += 2) {
        put(x, r.top, colour);
        put(x, r.bottom - 1, colour);
    }
    for (LONG y = r.top; y < r.bottom; y += 2) {
        put(r.left, y, colour);
        put(r.right - 1, y, colour);
    }
}

void Painter::text(std::u16string_view s, int x, int baseline, int pixel_size, uint32_t colour, const RECT& clip)
{
    Bitmap* b = target_.bitmap;
    if (b == nullptr || b->bpp != 32 || b->height == 0)
        return;
    RECT v = visible(clip);
    if (v.right <= v.left || v.bottom <= v.top)
        return;
    // The whole bitmap as the text's target, the visible part as its clip.
    auto* first = reinterpret_cast<uint32_t*>(b->writable_row(0));
    int stride = b->bottom_up ? -b->stride / 4 : b->stride / 4;
    text::Target t{first, b->width, b->height, stride};
    int ox = target_.origin_x, oy = target_.origin_y;
    PixelRect c{(int)v.left + ox, (int)v.top + oy, (int)v.right + ox, (int)v.bottom + oy};
    text::draw(t, c, x + ox, baseline + oy, s, pixel_size, colour);
}

}  // namespace tickvane::device
