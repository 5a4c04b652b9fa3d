#include "screen/screen.h"
#include "parts/part.h"

#include <algorithm>
#include <utility>

namespace tickvane::device {

PixelRect whole_screen() { return PixelRect{0, 0, screen().width, screen().height}; }

RECT work_area()
{
    int H = screen().height;
    int top = std::min(kTitleBarHeight, H);
    int bottom = std::max(H - kSoftKeyBarHeight, top);
    return RECT{0, top, screen().width, bottom};
}

PixelRect title_bar_area() { return PixelRect{0, 0, screen().width, (int)work_area().top}; }

PixelRect soft_key_bar_area() { return PixelRect{0, (int)work_area().bottom, screen().width, screen().height}; }

void mark_screen_changed()
{
    screen().damaged = true;
    screen().damage = whole_screen();
}

void mark_screen_area(const PixelRect& area)
{
    Screen& s = screen();
    s.damage = s.damaged ? bounding_union(s.damage, area) : area;
    s.damaged = true;
}

PixelRect take_damage()
{
    Screen& s = screen();
    PixelRect d = s.damaged ? s.damage : PixelRect{};
    s.damaged = false;
    s.damage = PixelRect{};
    return d;
}

void turn_screen()
{
    std::swap(screen().width, screen().height);
    mark_screen_changed();
}

namespace {

constinit parts::PartOf<Screen> g_screen;

}  // namespace

Screen& screen() { return g_screen.get(); }

}  // namespace tickvane::device
