// The bar's life around its windows, and the version the screen redraws it by.
#include "softkeys/soft_key_bar.h"

#include "screen/screen.h"
#include "softkeys/shown_bar.h"
#include "softkeys/soft_key_press.h"

namespace tickvane::device {

uint64_t soft_key_bar_version()
{
    BarLook now;
    now.bar = shown_bar();
    now.owner = now.bar.owner;
    now.pressed = pressed_soft_key();
    now.width = screen().width;
    if (!(now == soft_key_look().last)) {
        soft_key_look().last = now;
        ++soft_key_look().number;
    }
    return soft_key_look().number;
}

}  // namespace tickvane::device
