// Which window is active, and the WM_ACTIVATE traffic that goes with every change,
// in the order Windows sends it: the window losing activation hears first.
#include <algorithm>

#include "compositor/compositor.h"
#include "registry/window_registry.h"
#include "screen/screen.h"
#include "wm/activation_state.h"
#include "wm/window_manager.h"
#include "wm/window_tree.h"

namespace tickvane::device {

namespace {

bool focus_within(HWND top)
{
    Window* f = find_window(activation().focus);
    return f != nullptr && top_level_of(f->handle) != nullptr && top_level_of(f->handle)->handle == top;
}

// The keys leave with the activation: the focused window (the top-level one or a
// control in it) hears WM_KILLFOCUS.
void drop_focus_of(HWND top, HWND gaining)
{
    if (!focus_within(top))
        return;
    HWND had = activation().focus;
    activation().focus = nullptr;
    if (Window* f = find_window(had))
        send(*f, WM_KILLFOCUS, (WPARAM)gaining, 0);
}

void lose(Window& w, HWND gaining, bool minimised)
{
    HWND hwnd = w.handle;
    send(w, WM_NCACTIVATE, FALSE, 0);
    if (Window* still = find_window(hwnd))
        send(*still, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, minimised ? 1 : 0), (LPARAM)gaining);
    drop_focus_of(hwnd, gaining);
}

// The focus comes with WM_ACTIVATE: DefWindowProcW gives it to the window, a dialog's
// DefDlgProcW to one of its controls.
void gain(Window& w, HWND losing, WORD how)
{
    HWND hwnd = w.handle;
    send(w, WM_NCACTIVATE, TRUE, 0);
    if (Window* still = find_window(hwnd))
        send(*still, WM_ACTIVATE, MAKEWPARAM(how, still->minimized ? 1 : 0), (LPARAM)losing);
}

bool can_be_active(const Window* w)
{
    return w != nullptr && w->visible && !w->minimized && !w->destroying && w->enabled;
}

}  // namespace

void activate(HWND hwnd, WORD how)
{
    Window* w = top_level_of(hwnd);
    if (!can_be_active(w) || activation().active == w->handle)
        return;
    HWND target = w->handle;
    HWND previous = activation().active;
    activation().active = target;
    activation().last_active = target;
    mark_screen_changed();  // the title bar shows the active window's title
    if (Window* p = find_window(previous))
        lose(*p, target, p->minimized);
    if (Window* t = find_window(target); t != nullptr && activation().active == target)
        gain(*t, previous, how);
}

void activate_next_after(HWND leaving, bool minimised)
{
    if (activation().active != leaving)
        return;
    // An owned window (a dialog, a box) hands activation back to its owner.
    Window* leaving_window = find_window(leaving);
    Window* owner = leaving_window != nullptr ? find_window(leaving_window->owner) : nullptr;
    HWND next = can_be_active(owner) ? owner->handle : nullptr;
    for (auto it = window_tree().z_order.rbegin(); next == nullptr && it != window_tree().z_order.rend(); ++it)
        if (*it != leaving && can_be_active(find_window(*it))) {
            next = *it;
            break;
        }
    activation().active = next;
    activation().last_active = next;
    mark_screen_changed();
    if (Window* w = find_window(leaving))
        lose(*w, next, minimised);
    if (Window* n = find_window(next); n != nullptr && activation().active == next)
        gain(*n, leaving, WA_ACTIVE);
}

void deactivate_for_host()
{
    HWND hwnd = activation().active;
    Window* w = find_window(hwnd);
    if (w == nullptr)
        return;
    activation().active = nullptr;
    activation().last_active = hwnd;
    mark_screen_changed();
    send(*w, WM_NCACTIVATE, FALSE, 0);
    if (Window* still = find_window(hwnd))
        send(*still, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 0), 0);
    if (Window* still = find_window(hwnd))
        send(*still, WM_ACTIVATEAPP, FALSE, 0);
    drop_focus_of(hwnd, nullptr);
}

void reactivate_for_host()
{
    Window* w = find_window(activation().last_active);
    if (activation().active != nullptr || !can_be_active(w))
        return;
    HWND hwnd = w->handle;
    activation().active = hwnd;
    mark_screen_changed();
    send(*w, WM_ACTIVATEAPP, TRUE, 0);
    if (Window* still = find_window(hwnd); still != nullptr && activation().active == hwnd)
        gain(*still, nullptr, WA_ACTIVE);
}

}  // namespace tickvane::device

using namespace tickvane::device;

HWND WINAPI GetActiveWindow() { return activation().active; }

HWND WINAPI SetActiveWindow(HWND hwnd)
{
    HWND previous = activation().active;
    activate(hwnd, WA_ACTIVE);
    return previous;
}

BOOL WINAPI SetForegroundWindow(HWND hwnd)
{
    if (!is_own_window(hwnd))
        return registry_send_foreground(hwnd) ? TRUE : FALSE;
    Window* w = top_level_of(hwnd);
    if (w == nullptr || !w->visible)
        return FALSE;
    if (w->minimized)
        ShowWindow(w->handle, SW_RESTORE);
    HWND top = w->handle;
    activate(top, WA_ACTIVE);
    raise_with_owned(top);
    if (compositor().display)
        compositor().display->raise();
    return TRUE;
}
