// The bar's life around its windows, the version the screen redraws it by, and what
// tests may ask of it.
#include "softkeys/soft_key_bar.h"

#include "softkeys/shown_bar.h"
#include "softkeys/soft_key_press.h"
#include "testing.h"
#include "compositor.h"

namespace tickvane::device {

uint64_t soft_key_bar_version()
{
    BarLook now;
    now.bar = shown_bar();
    now.owner = now.bar.owner;
    now.pressed = pressed_soft_key();
    now.width = compositor().width;
    if (!(now == soft_key_look().last)) {
        soft_key_look().last = now;
        ++soft_key_look().number;
    }
    return soft_key_look().number;
}

}  // namespace tickvane::device

namespace tickvane::device::testing {

RECT soft_key_rect(int index) { return soft_key_screen_rect(index); }

std::u16string soft_key_label(int index)
{
    return index == 0 || index == 1 ? shown_bar().keys[(size_t)index].label : std::u16string();
}

bool soft_key_enabled(int index) { return (index == 0 || index == 1) && shown_bar().keys[(size_t)index].enabled; }

void refuse_menu_bars(bool refuse) { menu_bars().refuse = refuse; }

}  // namespace tickvane::device::testing
