// The keyboard focus, pointer capture, enabling, and the modifier state of the keyboard.
#include "screen/screen.h"
#include "wm/activation_state.h"
#include "wm/input_queue.h"
#include "wm/window_manager.h"
#include "wm/window_tree.h"

namespace tickvane::device {

void move_focus(HWND to)
{
    HWND from = activation().focus;
    if (from == to)
        return;
    activation().focus = to;
    if (Window* old = find_window(from))
        send(*old, WM_KILLFOCUS, (WPARAM)to, 0);
    if (Window* gaining = find_window(to); gaining != nullptr && activation().focus == to)
        send(*gaining, WM_SETFOCUS, (WPARAM)from, 0);
}

bool enabled_with_ancestors(HWND hwnd)
{
    for (Window* w = find_window(hwnd); w != nullptr; w = find_window(w->parent))
        if (!w->enabled)
            return false;
    return find_window(hwnd) != nullptr;
}

}  // namespace tickvane::device

using namespace tickvane::device;

HWND WINAPI GetFocus() { return activation().focus; }

HWND WINAPI SetFocus(HWND hwnd)
{
    HWND previous = activation().focus;
    if (hwnd == nullptr) {
        move_focus(nullptr);
        return previous;
    }
    Window* top = top_level_of(hwnd);
    if (top == nullptr || !enabled_with_ancestors(hwnd))
        return nullptr;
    // Focus lives in the active window: giving it to another window activates that one.
    if (activation().active != top->handle)
        activate(top->handle, WA_ACTIVE);
    if (activation().active != top->handle)
        return nullptr;
    move_focus(hwnd);
    return previous;
}

BOOL WINAPI EnableWindow(HWND hwnd, BOOL enable)
{
    Window* w = find_window(hwnd);
    if (w == nullptr)
        return FALSE;
    bool was_disabled = !w->enabled;
    if (w->enabled == (enable != FALSE))
        return was_disabled;
    w->enabled = enable != FALSE;
    if (!w->enabled) {
        // A disabled window keeps neither the keys nor the pointer.
        for (HWND f = activation().focus; f != nullptr;) {
            if (f == hwnd) {
                move_focus(nullptr);
                break;
            }
            Window* fw = find_window(f);
            f = fw != nullptr ? fw->parent : nullptr;
        }
        if (activation().capture == hwnd)
            activation().capture = nullptr;
    }
    mark_screen_changed();  // the soft keys follow their window's state
    send(*w, WM_ENABLE, enable ? TRUE : FALSE, 0);
    if (Window* still = find_window(hwnd); still != nullptr && still->parent != nullptr)
        invalidate_all(*still, true);
    return was_disabled;
}

BOOL WINAPI IsWindowEnabled(HWND hwnd)
{
    Window* w = find_window(hwnd);
    return w != nullptr && w->enabled;
}

HWND WINAPI GetParent(HWND hwnd)
{
    Window* w = find_window(hwnd);
    if (w == nullptr)
        return nullptr;
    return w->parent != nullptr ? w->parent : w->owner;
}

HWND WINAPI SetCapture(HWND hwnd)
{
    HWND previous = activation().capture;
    activation().capture = find_window(hwnd) != nullptr ? hwnd : nullptr;
    return previous;
}

BOOL WINAPI ReleaseCapture()
{
    activation().capture = nullptr;
    return TRUE;
}

HWND WINAPI GetCapture() { return activation().capture; }

short WINAPI GetKeyState(int virtualKey)
{
    bool down = (virtualKey == VK_SHIFT && input_queue().shift_down) ||
                (virtualKey == VK_MENU && input_queue().alt_down);
    return down ? (short)0x8000 : 0;
}
