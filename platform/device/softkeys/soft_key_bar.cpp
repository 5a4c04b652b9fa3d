// The bar's life around its windows, and the version the screen redraws it by.
#include "softkeys/soft_key_bar.h"

#include "softkeys/shown_bar.h"
#include "softkeys/soft_key_press.h"

namespace tickvane::device {

namespace {

// Everything the drawing depends on.
struct BarLook {
    HWND owner = nullptr;
    ShownBar bar;
    int pressed = -1;
    int width = 0;

    bool operator==(const BarLook& o) const
    {
        if (owner != o.owner || pressed != o.pressed || width != o.width)
            return false;
        for (size_t i = 0; i < bar.keys.size(); ++i)
            if (bar.keys[i].label != o.bar.keys[i].label || bar.keys[i].enabled != o.bar.keys[i].enabled)
                return false;
        return true;
    }
};

struct Version {
    BarLook last;
    uint64_t number = 1;  // counts changes of look, never calls
};

Version& version() { static Version v; return v; }

}  // namespace

uint64_t soft_key_bar_version()
{
    BarLook now;
    now.bar = shown_bar();
    now.owner = now.bar.owner;
    now.pressed = pressed_soft_key();
    now.width = state().screen_width;
    if (!(now == version().last)) {
        version().last = now;
        ++version().number;
    }
    return version().number;
}

void forget_menu_bar(HWND owner)
{
    if (soft_key_press_state().owner == owner)
        cancel_soft_key_press();
    menu_bars().by_owner.erase((uintptr_t)owner);
}

void reset_soft_keys()
{
    soft_key_press_state() = SoftKeyPress{};
    menu_bars().by_owner.clear();
    menu_bars().refuse = false;
}

}  // namespace tickvane::device
