// The bar's own pixels, drawn again only when what it shows changes.
#include "softkeys/soft_key_bar.h"

#include "screen/screen.h"
#include "softkeys/shown_bar.h"
#include "softkeys/soft_key_press.h"

namespace tickvane::device {

const Surface& soft_key_bar_pixels()
{
    BarVersion& v = soft_key_look();
    BarLook now;
    now.bar = shown_bar();
    now.owner = now.bar.owner;
    now.pressed = pressed_soft_key();
    now.width = screen().width;
    if (v.drawn && now == v.last)
        return v.pixels;
    v.last = now;
    v.drawn = true;
    v.pixels = Surface::make_xrgb(now.width, kSoftKeyBarHeight);
    draw_soft_key_bar(v.pixels);
    mark_screen_area(soft_key_bar_area());
    return v.pixels;
}

}  // namespace tickvane::device
