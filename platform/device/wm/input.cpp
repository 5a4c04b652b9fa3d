// What a person does on the screen, turned into window messages.
#include <optional>

#include "compositor/screen.h"
#include "kept/kept_state.h"
#include "time/clock.h"
#include "wm/activation_state.h"
#include "wm/input_queue.h"
#include "wm/message_queue.h"
#include "wm/placement.h"
#include "wm/window_manager.h"
#include "wm/window_tree.h"

namespace tickvane::device {

namespace {

bool contains(const RECT& r, int x, int y) { return to_rect(r).contains(x, y); }

MSG mouse_message(Window& w, UINT message, int x, int y, WPARAM keys)
{
    MSG m{};
    m.hwnd = w.handle;
    m.message = message;
    m.wParam = keys;
    m.lParam = MAKELPARAM(x - w.rect.left, y - w.rect.top);
    m.time = (DWORD)now_ms();
    m.pt = POINT{x, y};
    return m;
}

// A press on a disabled window (the owner of a modal dialog) goes nowhere; the
// window in front of it that keeps it disabled is brought forward instead.
bool refuse_disabled(Window& w)
{
    if (enabled_with_ancestors(w.handle))
        return false;
    Window* top = top_level_of(w.handle);
    for (auto it = window_tree().z_order.rbegin(); it != window_tree().z_order.rend(); ++it) {
        Window* other = find_window(*it);
        if (other != nullptr && other->owner == top->handle && other->visible && other->enabled) {
            SetForegroundWindow(other->handle);
            break;
        }
    }
    return true;
}

// The caption: a press activates; a release on the close box asks the window to close.
bool non_client(const display::Event& e, Window& w, MSG& out)
{
    if (e.kind == display::EventKind::PointerDown) {
        if (!refuse_disabled(w) && activation().active != w.handle)
            activate(w.handle, WA_CLICKACTIVE);
        return false;
    }
    if (e.kind != display::EventKind::PointerUp || !in_close_box(w, e.x, e.y) || !w.enabled)
        return false;
    out = MSG{w.handle, WM_SYSCOMMAND, SC_CLOSE, MAKELPARAM(e.x, e.y), (DWORD)now_ms(), POINT{e.x, e.y}};
    return true;
}

// A window holding the capture (a dropped list) sees every tap, the bar's too.
bool captured(const display::Event& e, Window& c, MSG& out)
{
    UINT message = e.kind == display::EventKind::PointerDown ? WM_LBUTTONDOWN
                   : e.kind == display::EventKind::PointerUp ? WM_LBUTTONUP
                                                             : WM_MOUSEMOVE;
    input_queue().pointer_window = e.kind == display::EventKind::PointerUp ? nullptr : c.handle;
    out = mouse_message(c, message, e.x, e.y, message == WM_LBUTTONUP ? 0 : 0x0001 /* MK_LBUTTON */);
    return true;
}

// Null when the filter left the event to the windows; else whether it made a message.
std::optional<bool> filtered(const display::Event& e, MSG& out)
{
    Filtered f = input_queue().filter != nullptr ? input_queue().filter(e, out) : Filtered::Pass;
    if (f == Filtered::Pass)
        return std::nullopt;
    return f == Filtered::Message;
}

bool pointer(const display::Event& e, MSG& out)
{
    if (Window* c = find_window(activation().capture))
        return captured(e, *c, out);
    if (std::optional<bool> made = filtered(e, out))
        return *made;
    Window* w = window_at(e.x, e.y);
    if (w != nullptr && w->parent == nullptr && !contains(w->rect, e.x, e.y)) {
        if (e.kind == display::EventKind::PointerUp)
            input_queue().pointer_window = nullptr;
        return non_client(e, *w, out);
    }
    if (e.kind == display::EventKind::PointerDown) {
        if (w == nullptr || refuse_disabled(*w))
            return false;
        HWND hwnd = w->handle;
        if (activation().active != top_level_of(hwnd)->handle)
            activate(hwnd, WA_CLICKACTIVE);
        if ((w = find_window(hwnd)) == nullptr)
            return false;
        input_queue().pointer_window = hwnd;
        out = mouse_message(*w, WM_LBUTTONDOWN, e.x, e.y, 0x0001 /* MK_LBUTTON */);
        return true;
    }
    bool pressed = input_queue().pointer_window != nullptr;
    if (e.kind == display::EventKind::PointerUp) {
        input_queue().pointer_window = nullptr;
        if (w == nullptr || !enabled_with_ancestors(w->handle))
            return false;
        out = mouse_message(*w, WM_LBUTTONUP, e.x, e.y, 0);
        return true;
    }
    if (w == nullptr || !pressed || !enabled_with_ancestors(w->handle))
        return false;
    out = mouse_message(*w, WM_MOUSEMOVE, e.x, e.y, 0x0001);
    return true;
}

// Keys go to the focus, or to the active window when nothing has the focus. With Alt
// held they are system keys, as on Windows.
bool key(const display::Event& e, MSG& out)
{
    bool down = e.kind == display::EventKind::KeyDown;
    input_queue().shift_down = e.shift;
    input_queue().alt_down = e.alt;
    if (std::optional<bool> made = filtered(e, out))
        return *made;
    HWND target = activation().focus != nullptr ? activation().focus : activation().active;
    if (target == nullptr)
        return false;
    out = MSG{};
    out.hwnd = target;
    out.message = e.alt ? (down ? WM_SYSKEYDOWN : WM_SYSKEYUP) : (down ? WM_KEYDOWN : WM_KEYUP);
    out.wParam = (WPARAM)e.vk;
    out.lParam = (LPARAM)((down ? 1u : 0xC0000001u) | (e.alt ? 0x20000000u : 0u));
    out.time = (DWORD)now_ms();
    return true;
}

// The desktop window's close button closes the program's windows from the top down, one
// after the other (see close_next_window): a modal dialog goes before the window it
// keeps disabled, which is then active again and closes as itself.
void close_all()
{
    message_queue().closing_all = true;
    close_next_window();
}

}  // namespace

void set_input_filter(InputFilter filter) { input_queue().filter = filter; }

void close_next_window()
{
    for (auto it = window_tree().z_order.rbegin(); it != window_tree().z_order.rend(); ++it)
        if (Window* w = find_window(*it); w != nullptr && !w->destroying) {
            PostMessageW(w->handle, WM_CLOSE, 0, 0);
            return;
        }
    message_queue().closing_all = false;
}

Window* window_at(int x, int y)
{
    // The title and soft-key bars belong to the shell, except where a window stands
    // over the title bar.
    RECT area = work_area();
    bool on_title_bar = y < area.top && x >= area.left && x < area.right && y >= 0;
    if (!contains(area, x, y) && !on_title_bar)
        return nullptr;
    for (auto it = window_tree().z_order.rbegin(); it != window_tree().z_order.rend(); ++it) {
        Window* w = find_window(*it);
        if (w == nullptr || !w->visible || w->minimized || !contains(w->frame, x, y) ||
            (on_title_bar && !w->above_title_bar))
            continue;
        if (!contains(w->rect, x, y))
            return w;  // its caption or border
        Window* hit = w;
        for (bool deeper = true; deeper;) {  // the deepest visible child under the point
            deeper = false;
            for (HWND hwnd : hit->children)
                if (Window* child = find_window(hwnd);
                    child != nullptr && child->visible && contains(child->rect, x, y)) {
                    hit = child;
                    deeper = true;
                    break;
                }
        }
        return hit;
    }
    return nullptr;
}

// Takes queued input until one event makes a message; the rest act at once, and
// stop the taking when their handling posted something or requested the quit.
bool next_input_message(MSG& out)
{
    while (!input_queue().events.empty()) {
        display::Event e = input_queue().events.front();
        input_queue().events.pop_front();
        switch (e.kind) {
        case display::EventKind::PointerDown:
        case display::EventKind::PointerUp:
        case display::EventKind::PointerMove:
            if (pointer(e, out))
                return true;
            break;
        case display::EventKind::KeyDown:
        case display::EventKind::KeyUp:
            if (key(e, out))
                return true;
            break;
        case display::EventKind::FocusLost:
            deactivate_for_host();
            break;
        case display::EventKind::FocusGained:
            reactivate_for_host();
            break;
        case display::EventKind::Rotate:
            rotate_screen();
            keep_orientation();
            break;
        case display::EventKind::Close:
            close_all();
            break;
        case display::EventKind::Moved:
            keep_window_place();
            break;
        }
        if (!message_queue().posted.empty() || message_queue().quit_requested)
            return false;
    }
    return false;
}

}  // namespace tickvane::device
