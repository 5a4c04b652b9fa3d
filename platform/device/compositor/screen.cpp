#include "compositor/screen.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "compositor/compositor.h"
#include "parts/part.h"
#include "settings/device_settings.h"
#include "text/text.h"

namespace tickvane::device {

namespace {

constexpr uint32_t kWorkAreaColour = 0xD8D8D8;
constexpr uint32_t kTitleTextColour = 0xFFFFFF;
constexpr int kTitleTextSize = 14;

BarCache& bars() { return compositor().bars; }

uint32_t blend(uint32_t a, uint32_t b, int num, int den)
{
    auto ch = [&](int shift) {
        int x = (int)((a >> shift) & 0xFF), y = (int)((b >> shift) & 0xFF);
        return (uint32_t)(x + (y - x) * num / den) << shift;
    };
    return ch(16) | ch(8) | ch(0);
}

// The title bar's pixels, drawn again (and its part of the screen damaged) when the
// active window's title or the screen's width changed.
const Surface& title_bar_pixels(int width, const std::u16string& title)
{
    BarCache& c = bars();
    if (c.width == width && c.title == title)
        return c.title_bar;
    c.width = width;
    c.title = title;
    c.title_bar = Surface::make_xrgb(width, kTitleBarHeight);
    for (int y = 0; y < kTitleBarHeight; ++y)
        c.title_bar.fill(PixelRect{0, y, width, y + 1}, blend(0x2F5FB4, 0x123C86, y, kTitleBarHeight - 1));
    text::Extent e = text::measure(title, kTitleTextSize);
    int baseline = (kTitleBarHeight + e.ascent - e.descent) / 2;
    c.title_bar.draw_text(PixelRect{0, 0, width - 4, kTitleBarHeight}, 6, baseline, title, kTitleTextSize,
                          kTitleTextColour);
    mark_screen_area(title_bar_area());
    return c.title_bar;
}

// The bars composed this time, each drawn by its owner.
struct Bars {
    const Surface& title;
    const Surface* soft_keys;
};

// One row of the composed screen, columns [left, right), into `out`.
void compose_row(const Bars& bars, const std::vector<Layer>& layers, int y, int left, int right, uint32_t* out)
{
    int H = screen().height;
    const Surface* bar = y < kTitleBarHeight ? &bars.title : y >= H - kSoftKeyBarHeight ? bars.soft_keys : nullptr;
    if (bar != nullptr) {
        int bar_y = y < kTitleBarHeight ? y : y - (H - kSoftKeyBarHeight);
        std::memcpy(out, bar->row(bar_y) + (size_t)left * 4, (size_t)(right - left) * 4);
        if (bar != &bars.title)
            return;
    } else {
        std::fill(out, out + (right - left), kWorkAreaColour);
    }
    for (const Layer& l : layers) {
        if (y < l.frame.top || y >= l.frame.bottom || (bar != nullptr && !l.above_title_bar))
            continue;
        int from = std::max<int>(left, l.frame.left), to = std::min<int>(right, l.frame.right);
        if (from >= to)
            continue;
        const uint8_t* row = l.top_row + (y - l.frame.top) * l.row_step + (from - l.frame.left) * 4;
        std::memcpy(out + (from - left), row, (size_t)(to - from) * 4);
    }
}

}  // namespace

void open_display()
{
    if (compositor().display)
        return;
    const Settings& s = device_settings();
    int W = screen().width, H = screen().height;
    std::string why_not;
    if (s.display != "headless") {
        auto source = compositor().desktop_options;
        display::DesktopOptions options = source != nullptr ? source() : display::DesktopOptions{};
        compositor().display = display::open_desktop_window(W, H, options, &why_not);
        if (!compositor().display)
            std::fprintf(stderr, "tickvane: %s; running headless%s%s\n", why_not.c_str(),
                         s.screenshot.empty() ? "" : ", screen in ", s.screenshot.c_str());
    }
    if (!compositor().display)
        compositor().display = display::open_headless(W, H, s.screenshot);
}

void set_desktop_options(display::DesktopOptions (*source)()) { compositor().desktop_options = source; }

void present_if_dirty(const std::vector<Layer>& layers, const std::u16string& title, const Surface& soft_keys)
{
    if (!screen().damaged)
        return;
    open_display();
    int W = screen().width, H = screen().height;
    // A new size: the display has nothing of this screen yet, so every row goes to it.
    bool new_size = compositor().shown_width != W || compositor().shown_height != H;
    if (new_size) {
        compositor().pixels = decltype(compositor().pixels)((size_t)W * (size_t)H);
        compositor().shown_width = W;
        compositor().shown_height = H;
        mark_screen_changed();
    }
    // The bars first: one drawn again damages its own part of the screen.
    Bars bars{title_bar_pixels(W, title), &soft_keys};
    PixelRect d = intersection(take_damage(), whole_screen());
    int left = d.left, right = d.right;
    // Only what differs from what is shown goes to the display.
    static thread_local std::vector<uint32_t> row;
    row.resize((size_t)W);
    PixelRect changed;
    for (int y = d.top; y < d.bottom && left < right; ++y) {
        compose_row(bars, layers, y, left, right, row.data());
        uint32_t* shown = &compositor().pixels[(size_t)y * W + left];
        int n = right - left;
        if (new_size) {
            std::memcpy(shown, row.data(), (size_t)n * 4);
            changed = bounding_union(changed, PixelRect{left, y, right, y + 1});
            continue;
        }
        if (std::memcmp(shown, row.data(), (size_t)n * 4) == 0)
            continue;
        int l = 0, r = n - 1;
        while (shown[l] == row[l])
            ++l;
        while (shown[r] == row[r])
            --r;
        std::memcpy(shown + l, row.data() + l, (size_t)(r - l + 1) * 4);
        changed = bounding_union(changed, PixelRect{left + l, y, left + r + 1, y + 1});
    }
    if (changed.empty())
        return;
    // The display takes its areas as origin and size.
    display::Rect area{changed.left, changed.top, changed.width(), changed.height()};
    compositor().display->present(display::Pixels{compositor().pixels.data(), W, H, W}, {area});
}

void resize_display()
{
    if (compositor().display)
        compositor().display->resize(screen().width, screen().height);
}

namespace {

constinit parts::PartOf<Compositor> g_compositor;

}  // namespace

Compositor& compositor() { return g_compositor.get(); }

}  // namespace tickvane::device
