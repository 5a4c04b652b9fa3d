// What the soft-key bar shows now, where its keys are, and which one is held down.
#pragma once

#include <array>

#include "screen/surface.h"
#include "softkeys/menu_bars.h"

namespace tickvane::device {

struct ShownBar {
    HWND owner = nullptr;         // the window whose bar it is; null: an empty bar
    std::array<SoftKey, 2> keys;  // a key without a label shows nothing
};

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

// The bar's own pixels, and the look they were drawn with.
struct BarVersion {
    BarLook last;
    bool drawn = false;
    Surface pixels;
};

BarVersion& soft_key_look();

// The foreground window's bar. A window without one (a dialog or message box) shows
// its owner's bar with both keys disabled; a disabled owner's keys are disabled too.
ShownBar shown_bar();

// The key's rectangle in screen coordinates: the left or right half of the bar.
RECT soft_key_screen_rect(int index);
// The key under a screen point, or -1.
int soft_key_at(int x, int y);
// The key drawn as pressed, or -1.
int pressed_soft_key();

}  // namespace tickvane::device
