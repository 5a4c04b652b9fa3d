// The non-client area of top-level windows with WS_CAPTION: a one-pixel border and a
// caption with the title and a close box, drawn into the window's own surface.
#include <algorithm>

#include "screen/screen.h"
#include "text/text.h"
#include "wm/activation_state.h"
#include "wm/window_manager.h"

namespace tickvane::device {

namespace {

constexpr int kBorder = 1;
constexpr int kCaptionHeight = 20;
constexpr int kCloseBoxSize = 14;
constexpr int kCaptionTextSize = 12;
constexpr uint32_t kBorderColour = 0x303030;

bool has_caption(DWORD style) { return (style & WS_CAPTION) == WS_CAPTION; }
bool has_border(DWORD style) { return (style & (WS_BORDER | WS_DLGFRAME)) != 0; }

void fill(Surface& b, int left, int top, int right, int bottom, uint32_t colour)
{
    b.fill(PixelRect{left, top, right, bottom}, colour);
}

RECT close_box_in_surface(const Window& w)
{
    int width = w.frame.right - w.frame.left;
    int top = kBorder + (kCaptionHeight - kCloseBoxSize) / 2;
    int right = width - kBorder - 3;
    return RECT{right - kCloseBoxSize, top, right, top + kCloseBoxSize};
}

void draw_close_box(Surface& b, const RECT& r, uint32_t colour)
{
    fill(b, r.left, r.top, r.right, r.top + 1, colour);
    fill(b, r.left, r.bottom - 1, r.right, r.bottom, colour);
    fill(b, r.left, r.top, r.left + 1, r.bottom, colour);
    fill(b, r.right - 1, r.top, r.right, r.bottom, colour);
    for (int i = 3; i < kCloseBoxSize - 3; ++i) {  // the cross, two pixels thick
        fill(b, r.left + i, r.top + i, r.left + i + 2, r.top + i + 1, colour);
        fill(b, r.right - i - 2, r.top + i, r.right - i, r.top + i + 1, colour);
    }
}

}  // namespace

RECT client_within(DWORD style, const RECT& frame)
{
    int border = has_border(style) ? kBorder : 0;
    int caption = has_caption(style) ? kCaptionHeight : 0;
    RECT r{frame.left + border, frame.top + border + caption, frame.right - border, frame.bottom - border};
    r.right = std::max(r.right, r.left);
    r.bottom = std::max(r.bottom, r.top);
    return r;
}

RECT frame_around(DWORD style, const RECT& client)
{
    int border = has_border(style) ? kBorder : 0;
    int caption = has_caption(style) ? kCaptionHeight : 0;
    return RECT{client.left - border, client.top - border - caption, client.right + border, client.bottom + border};
}

void paint_frame(Window& w)
{
    if (w.parent != nullptr || !has_border(w.style) || w.surface.width == 0 || w.surface.height == 0)
        return;
    Surface& b = w.surface;
    int width = b.width, height = b.height;
    fill(b, 0, 0, width, kBorder, kBorderColour);
    fill(b, 0, height - kBorder, width, height, kBorderColour);
    fill(b, 0, 0, kBorder, height, kBorderColour);
    fill(b, width - kBorder, 0, width, height, kBorderColour);
    if (has_caption(w.style)) {
        bool active = activation().active == w.handle;
        uint32_t top_colour = active ? 0x3A6CC4 : 0x9A9A9A, bottom_colour = active ? 0x1B468F : 0x7A7A7A;
        for (int y = 0; y < kCaptionHeight; ++y) {
            uint32_t c = 0;
            for (int shift : {16, 8, 0}) {
                int a = (int)((top_colour >> shift) & 0xFF), z = (int)((bottom_colour >> shift) & 0xFF);
                c |= (uint32_t)(a + (z - a) * y / (kCaptionHeight - 1)) << shift;
            }
            fill(b, kBorder, kBorder + y, width - kBorder, kBorder + y + 1, c);
        }
        RECT box = close_box_in_surface(w);
        text::Extent e = text::measure(w.title, kCaptionTextSize);
        int baseline = kBorder + (kCaptionHeight + e.ascent - e.descent) / 2;
        b.draw_text(PixelRect{kBorder, kBorder, (int)box.left - 2, kBorder + kCaptionHeight}, kBorder + 5, baseline,
                    w.title, kCaptionTextSize, 0xFFFFFF);
        if (w.style & WS_SYSMENU)
            draw_close_box(b, box, 0xFFFFFF);
    }
}

bool in_close_box(const Window& w, int x, int y)
{
    if (!has_caption(w.style) || !(w.style & WS_SYSMENU))
        return false;
    RECT box = close_box_in_surface(w);
    int sx = x - w.frame.left, sy = y - w.frame.top;
    return sx >= box.left - 2 && sx < box.right + 2 && sy >= kBorder && sy < kBorder + kCaptionHeight;
}

}  // namespace tickvane::device
