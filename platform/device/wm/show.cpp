// ShowWindow: visibility, minimising and the activation a show brings.
#include <algorithm>

#include "screen/screen.h"
#include "wm/window_manager.h"
#include "wm/window_tree.h"

namespace tickvane::device {

namespace {

LPARAM client_size(const Window& w) { return MAKELPARAM(w.rect.right - w.rect.left, w.rect.bottom - w.rect.top); }

void hide(Window& w)
{
    HWND hwnd = w.handle;
    send(w, WM_SHOWWINDOW, FALSE, 0);
    if (Window* still = find_window(hwnd)) {
        still->visible = false;
        mark_screen_changed();
        activate_next_after(hwnd, false);
    }
}

void minimise(Window& w)
{
    HWND hwnd = w.handle;
    w.minimized = true;
    w.visible = true;
    mark_screen_changed();
    activate_next_after(hwnd, true);
    if (Window* still = find_window(hwnd))
        send(*still, WM_SIZE, SIZE_MINIMIZED, 0);
}

void show(Window& w, bool activating)
{
    HWND hwnd = w.handle;
    if (!w.visible) {
        send(w, WM_SHOWWINDOW, TRUE, 0);
        if (Window* still = find_window(hwnd))
            still->visible = true;
    }
    Window* still = find_window(hwnd);
    if (still == nullptr)
        return;
    if (still->minimized) {
        still->minimized = false;
        send(*still, WM_SIZE, SIZE_RESTORED, client_size(*still));
    }
    if ((still = find_window(hwnd)) == nullptr)
        return;
    if (still->parent == nullptr) {
        raise_with_owned(hwnd);
        if (activating)
            activate(hwnd, WA_ACTIVE);
    }
    if ((still = find_window(hwnd)) != nullptr)
        invalidate_all(*still, true);
    mark_screen_changed();
}

}  // namespace

// Owned windows (dialogs, boxes, drop-down lists) always stay above their owner.
void raise_with_owned(HWND hwnd)
{
    auto& z = window_tree().z_order;
    auto it = std::find(z.begin(), z.end(), hwnd);
    if (it == z.end())
        return;
    z.erase(it);
    z.push_back(hwnd);
    std::vector<HWND> owned;
    for (HWND other : z)
        if (Window* o = find_window(other); o != nullptr && o->owner == hwnd)
            owned.push_back(other);
    for (HWND o : owned)
        raise_with_owned(o);
    mark_screen_changed();
}

}  // namespace tickvane::device

using namespace tickvane::device;

BOOL WINAPI ShowWindow(HWND hwnd, int cmdShow)
{
    Window* w = find_window(hwnd);
    if (w == nullptr)
        return FALSE;
    BOOL was_visible = w->visible ? TRUE : FALSE;
    switch (cmdShow) {
    case SW_HIDE:
        if (w->visible)
            hide(*w);
        break;
    case SW_MINIMIZE:
        if (!w->minimized)
            minimise(*w);
        break;
    case SW_SHOWNA:
        show(*w, false);
        break;
    default:
        show(*w, true);
        break;
    }
    return was_visible;
}
