#include "screen.h"

#include <poll.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "text/text.h"
#include "wm/window_manager.h"

namespace tickvane::device {

namespace {

constexpr uint32_t kWorkAreaColour = 0xD8D8D8;
constexpr uint32_t kTitleTextColour = 0xFFFFFF;
constexpr int kTitleTextSize = 14;

struct BarCache {
    int width = -1;
    std::u16string title;
    std::vector<uint32_t> title_bar;
    std::vector<uint32_t> soft_key_bar;
};

BarCache& bars() { static BarCache cache; return cache; }

uint32_t blend(uint32_t a, uint32_t b, int num, int den)
{
    auto ch = [&](int shift) {
        int x = (int)((a >> shift) & 0xFF), y = (int)((b >> shift) & 0xFF);
        return (uint32_t)(x + (y - x) * num / den) << shift;
    };
    return ch(16) | ch(8) | ch(0);
}

void gradient(std::vector<uint32_t>& px, int width, int height, uint32_t top, uint32_t bottom)
{
    px.assign((size_t)width * (size_t)height, 0);
    for (int y = 0; y < height; ++y)
        std::fill_n(px.begin() + (ptrdiff_t)y * width, width, blend(top, bottom, y, std::max(height - 1, 1)));
}

std::u16string active_title()
{
    Window* w = find_window(state().active);
    return w != nullptr ? w->title : std::u16string();
}

void refresh_bars(int width)
{
    BarCache& c = bars();
    std::u16string title = active_title();
    if (c.width == width && c.title == title)
        return;
    c.width = width;
    c.title = title;
    gradient(c.title_bar, width, kTitleBarHeight, 0x2F5FB4, 0x123C86);
    text::Target t{c.title_bar.data(), width, kTitleBarHeight, width};
    text::Extent e = text::measure(title, kTitleTextSize);
    int baseline = (kTitleBarHeight + e.ascent - e.descent) / 2;
    text::draw(t, text::Clip{0, 0, width - 4, kTitleBarHeight}, 6, baseline, title, kTitleTextSize, kTitleTextColour);
    gradient(c.soft_key_bar, width, kSoftKeyBarHeight, 0x5A5A5A, 0x262626);
}

void copy_block(const uint32_t* src, int src_stride, int x, int y, int w, int h)
{
    int W = state().screen_width, H = state().screen_height;
    int left = std::max(x, 0), top = std::max(y, 0);
    int right = std::min(x + w, W), bottom = std::min(y + h, H);
    for (int row = top; row < bottom; ++row)
        std::memcpy(&state().screen[(size_t)row * W + left], src + (size_t)(row - y) * src_stride + (left - x),
                    (size_t)std::max(right - left, 0) * 4);
}

// The smallest rectangle holding every pixel that changed since the last present.
std::vector<display::Rect> changed_area()
{
    int W = state().screen_width, H = state().screen_height;
    if (state().presented_width != W || state().presented_height != H)
        return {display::Rect{0, 0, W, H}};
    int top = H, bottom = -1, left = W, right = -1;
    for (int y = 0; y < H; ++y) {
        const uint32_t* a = &state().screen[(size_t)y * W];
        const uint32_t* b = &state().presented[(size_t)y * W];
        if (std::memcmp(a, b, (size_t)W * 4) == 0)
            continue;
        top = std::min(top, y);
        bottom = y;
        int l = 0, r = W - 1;
        while (a[l] == b[l]) ++l;
        while (a[r] == b[r]) --r;
        left = std::min(left, l);
        right = std::max(right, r);
    }
    if (bottom < 0)
        return {};
    return {display::Rect{left, top, right - left + 1, bottom - top + 1}};
}

}  // namespace

RECT work_area()
{
    int H = state().screen_height;
    int top = std::min(kTitleBarHeight, H);
    int bottom = std::max(H - kSoftKeyBarHeight, top);
    return RECT{0, top, state().screen_width, bottom};
}

void compose()
{
    int W = state().screen_width, H = state().screen_height;
    state().screen.assign((size_t)W * (size_t)H, kWorkAreaColour);
    refresh_bars(W);
    copy_block(bars().title_bar.data(), W, 0, 0, W, kTitleBarHeight);
    copy_block(bars().soft_key_bar.data(), W, 0, H - kSoftKeyBarHeight, W, kSoftKeyBarHeight);
    for (HWND hwnd : state().z_order) {
        Window* w = find_window(hwnd);
        if (w == nullptr || !w->visible || w->minimized || w->surface.bpp != 32)
            continue;
        copy_block(reinterpret_cast<const uint32_t*>(w->surface.bits), w->surface.stride / 4, w->rect.left, w->rect.top,
                   w->surface.width, w->surface.height);
    }
}

void open_display()
{
    if (state().display)
        return;
    const Settings& s = state().settings;
    int W = state().screen_width, H = state().screen_height;
    std::string why_not;
    if (s.display != "headless") {
        state().display = display::open_desktop_window(W, H, s.scale, &why_not);
        if (!state().display)
            std::fprintf(stderr, "tickvane: %s; running headless%s%s\n", why_not.c_str(),
                         s.screenshot.empty() ? "" : ", screen in ", s.screenshot.c_str());
    }
    if (!state().display)
        state().display = display::open_headless(W, H, s.screenshot);
}

void present_if_dirty()
{
    if (!state().screen_dirty)
        return;
    state().screen_dirty = false;
    open_display();
    compose();
    std::vector<display::Rect> changed = changed_area();
    if (changed.empty())
        return;
    int W = state().screen_width, H = state().screen_height;
    state().presented = state().screen;
    state().presented_width = W;
    state().presented_height = H;
    state().display->present(display::Pixels{state().screen.data(), W, H, W}, changed);
}

void rotate_screen()
{
    std::swap(state().screen_width, state().screen_height);
    if (state().display)
        state().display->resize(state().screen_width, state().screen_height);
    std::vector<HWND> affected;
    for (auto& [value, w] : state().windows)
        if (w->fills_work_area)
            affected.push_back(w->handle);
    for (HWND hwnd : affected) {
        Window* w = find_window(hwnd);
        if (w == nullptr)
            continue;
        resize_window(*w, work_area());
        if (w->class_style & (CS_HREDRAW | CS_VREDRAW))
            invalidate_all(*w, true);
        send(*w, WM_SIZE, SIZE_RESTORED, MAKELPARAM(w->rect.right - w->rect.left, w->rect.bottom - w->rect.top));
    }
    state().screen_dirty = true;
}

void wait_on_fds(int timeout_ms, const std::vector<int>& fds)
{
    std::vector<pollfd> p;
    for (int fd : fds)
        p.push_back(pollfd{fd, POLLIN, 0});
    poll(p.data(), p.size(), timeout_ms);
}

}  // namespace tickvane::device
