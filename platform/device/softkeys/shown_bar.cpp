#include "softkeys/shown_bar.h"

#include "screen/screen.h"
#include "wm/activation_state.h"

namespace tickvane::device {

namespace {

// Owner chains are short; the limit only guards against a cycle.
constexpr int kMaxOwnerChain = 64;

ShownBar from(const MenuBar& bar, bool usable)
{
    ShownBar shown;
    shown.owner = bar.owner;
    for (size_t i = 0; i < bar.keys.size() && i < shown.keys.size(); ++i) {
        shown.keys[i] = bar.keys[i];
        shown.keys[i].enabled = shown.keys[i].enabled && usable;
    }
    return shown;
}

}  // namespace

ShownBar shown_bar()
{
    HWND foreground = activation().active != nullptr ? activation().active : activation().last_active;
    HWND w = IsWindow(foreground) ? foreground : nullptr;
    for (int step = 0; w != nullptr && step < kMaxOwnerChain; ++step) {
        if (const MenuBar* bar = menu_bar_of(w))
            return from(*bar, step == 0 && IsWindowEnabled(w));
        w = GetWindow(w, GW_OWNER);  // owned windows go before their owner: it is still there
    }
    return {};
}

RECT soft_key_screen_rect(int index)
{
    int width = screen().width, bottom = screen().height;
    int top = work_area().bottom, middle = width / 2;
    return index == 0 ? RECT{0, top, middle, bottom} : RECT{middle, top, width, bottom};
}

int soft_key_at(int x, int y)
{
    for (int i = 0; i < 2; ++i) {
        RECT r = soft_key_screen_rect(i);
        if (x >= r.left && x < r.right && y >= r.top && y < r.bottom)
            return i;
    }
    return -1;
}

}  // namespace tickvane::device
