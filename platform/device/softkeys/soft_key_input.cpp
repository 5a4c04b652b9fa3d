// Presses on the soft keys: a tap on a key, or F1 / F2, sends the key's command to
// the window that owns the bar. A press that slides off its key and is let go
// elsewhere sends nothing.
#include "screen/screen.h"
#include "softkeys/shown_bar.h"
#include "softkeys/soft_key_bar.h"
#include "softkeys/soft_key_press.h"
#include "time/clock.h"
#include "wm/input_queue.h"

namespace tickvane::device {

namespace {

MSG command(HWND owner, UINT id, POINT pt) { return MSG{owner, WM_COMMAND, MAKEWPARAM(id, 0), 0, (DWORD)now_ms(), pt}; }

void press_changed()
{
    SoftKeyPress& p = soft_key_press_state();
    int shown = p.tracking && p.over ? p.key : -1;
    if (shown != p.drawn) {
        p.drawn = shown;
        mark_screen_changed();
    }
}

// The window whose bar is being pressed went away, and its bar with it.
bool press_owner_gone()
{
    HWND owner = soft_key_press_state().owner;
    return owner != nullptr && !IsWindow(owner);
}

// Whether a pointer event belongs to the bar: a press on it while no window is being
// pressed, and everything up to that press's release.
bool soft_key_takes_pointer(const display::Event& e)
{
    if (soft_key_press_state().tracking)
        return true;
    return e.kind == display::EventKind::PointerDown && e.y >= work_area().bottom &&
           input_queue().pointer_window == nullptr;
}

// True when it made a message (a command for the window that owns the bar) in `out`.
bool soft_key_pointer(const display::Event& e, MSG& out)
{
    if (press_owner_gone())
        cancel_soft_key_press();
    SoftKeyPress& p = soft_key_press_state();
    ShownBar bar = shown_bar();
    int under = soft_key_at(e.x, e.y);
    bool usable = under >= 0 && bar.keys[(size_t)under].enabled;
    switch (e.kind) {
    case display::EventKind::PointerDown:
        p.tracking = true;
        p.key = usable ? under : -1;
        p.owner = bar.owner;
        p.over = usable;
        break;
    case display::EventKind::PointerMove:
        p.over = p.key >= 0 && under == p.key;
        break;
    case display::EventKind::PointerUp: {
        bool fire = p.key >= 0 && under == p.key && usable && bar.owner == p.owner;
        p.tracking = false;
        cancel_soft_key_press();
        if (!fire)
            return false;
        out = command(bar.owner, bar.keys[(size_t)under].id, POINT{e.x, e.y});
        return true;
    }
    default:
        return false;
    }
    press_changed();
    return false;
}

// F1 / F2: true with the soft key's command in `out`; false for other keys or when
// there is no enabled key to press.
bool soft_key_press(int vk, MSG& out)
{
    int index = vk == VK_F1 ? 0 : vk == VK_F2 ? 1 : -1;
    if (index < 0)
        return false;
    ShownBar bar = shown_bar();
    const SoftKey& key = bar.keys[(size_t)index];
    if (!key.enabled)
        return false;
    out = command(bar.owner, key.id, POINT{0, 0});
    return true;
}

}  // namespace

int pressed_soft_key() { return press_owner_gone() ? -1 : soft_key_press_state().drawn; }

void cancel_soft_key_press()
{
    SoftKeyPress& p = soft_key_press_state();
    p.key = -1;
    p.owner = nullptr;
    p.over = false;
    press_changed();
}

Filtered soft_key_filter(const display::Event& e, MSG& out)
{
    switch (e.kind) {
    case display::EventKind::PointerDown:
    case display::EventKind::PointerUp:
    case display::EventKind::PointerMove:
        if (!soft_key_takes_pointer(e))
            return Filtered::Pass;
        return soft_key_pointer(e, out) ? Filtered::Message : Filtered::Taken;
    case display::EventKind::KeyDown:
        return soft_key_press(e.vk, out) ? Filtered::Message : Filtered::Pass;
    default:
        return Filtered::Pass;
    }
}

}  // namespace tickvane::device
