#include "present/present_screen.h"

#include "compositor/screen.h"
#include "softkeys/soft_key_bar.h"
#include "wm/window_layers.h"

namespace tickvane::device {

void present_screen()
{
    if (!screen_damaged())
        return;
    present_if_dirty(window_layers(), active_window_title(), soft_key_bar_pixels());
}

}  // namespace tickvane::device
