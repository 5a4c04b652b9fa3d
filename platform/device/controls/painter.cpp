#include "controls/painter.h"

#include <algorithm>

#include "screen/screen.h"

namespace tickvane::device {

Painter::Painter(HWND hwnd) : hwnd_(hwnd)
{
    BeginPaint(hwnd, &ps_);
    target_ = draw_target(ps_.hdc);
    GetClientRect(hwnd, &client_);
}

Painter::~Painter() { EndPaint(hwnd_, &ps_); }

RECT Painter::visible(const RECT& r) const
{
    if (target_.bitmap == nullptr)
        return RECT{0, 0, 0, 0};
    PixelRect surface{-target_.origin_x, -target_.origin_y, target_.bitmap->width - target_.origin_x,
                      target_.bitmap->height - target_.origin_y};
    PixelRect out = intersection(intersection(to_rect(r), to_rect(target_.clip)), surface);
    out.right = std::max(out.right, out.left);
    out.bottom = std::max(out.bottom, out.top);
    return to_win32(out);
}

void Painter::fill(const RECT& r, uint32_t colour)
{
    RECT v = visible(r);
    if (target_.bitmap != nullptr)
        target_.bitmap->fill(to_rect(v).offset(target_.origin_x, target_.origin_y), colour);
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
    if (target_.bitmap == nullptr)
        return;
    int ox = target_.origin_x, oy = target_.origin_y;
    target_.bitmap->draw_text(to_rect(visible(clip)).offset(ox, oy), x + ox, baseline + oy, s, pixel_size, colour);
}

}  // namespace tickvane::device
