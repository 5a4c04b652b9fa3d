// What a person does on the screen, turned into window messages.
#include "screen.h"
#include "softkeys/soft_key_bar.h"
#include "wm/window_manager.h"

namespace tickvane::device {

namespace {

bool contains(const RECT& r, int x, int y) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; }

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

bool pointer(const display::Event& e, MSG& out)
{
    if (soft_key_takes_pointer(e))
        return soft_key_pointer(e, out);
    Window* w = window_at(e.x, e.y);
    if (e.kind == display::EventKind::PointerDown) {
        if (w == nullptr)
            return false;
        HWND hwnd = w->handle;
        if (state().active != top_level_of(hwnd)->handle)
            activate(hwnd, WA_CLICKACTIVE);
        if ((w = find_window(hwnd)) == nullptr)
            return false;
        state().pointer_window = hwnd;
        out = mouse_message(*w, WM_LBUTTONDOWN, e.x, e.y, 0x0001 /* MK_LBUTTON */);
        return true;
    }
    bool pressed = state().pointer_window != nullptr;
    if (e.kind == display::EventKind::PointerUp) {
        state().pointer_window = nullptr;
        if (w == nullptr)
            return false;
        out = mouse_message(*w, WM_LBUTTONUP, e.x, e.y, 0);
        return true;
    }
    if (w == nullptr || !pressed)
        return false;
    out = mouse_message(*w, WM_MOUSEMOVE, e.x, e.y, 0x0001);
    return true;
}

bool key(const display::Event& e, MSG& out)
{
    if (e.kind == display::EventKind::KeyDown && soft_key_press(e.vk, out))
        return true;
    HWND target = state().active;
    if (target == nullptr)
        return false;
    out = MSG{};
    out.hwnd = target;
    out.message = e.kind == display::EventKind::KeyDown ? WM_KEYDOWN : WM_KEYUP;
    out.wParam = (WPARAM)e.vk;
    out.lParam = e.kind == display::EventKind::KeyDown ? 1 : (LPARAM)0xC0000001u;
    out.time = (DWORD)now_ms();
    return true;
}

void close_all()
{
    std::vector<HWND> top(state().z_order.rbegin(), state().z_order.rend());
    for (HWND hwnd : top)
        PostMessageW(hwnd, WM_CLOSE, 0, 0);
}

}  // namespace

Window* window_at(int x, int y)
{
    if (!contains(work_area(), x, y))
        return nullptr;  // the title and soft-key bars belong to the shell
    for (auto it = state().z_order.rbegin(); it != state().z_order.rend(); ++it) {
        Window* w = find_window(*it);
        if (w == nullptr || !w->visible || w->minimized || !contains(w->rect, x, y))
            continue;
        Window* hit = w;
        for (bool deeper = true; deeper;) {  // the deepest visible child under the point
            deeper = false;
            for (auto& [value, child] : state().windows)
                if (child->parent == hit->handle && child->visible && contains(child->rect, x, y)) {
                    hit = child.get();
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
    while (!state().input.empty()) {
        display::Event e = state().input.front();
        state().input.pop_front();
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
            break;
        case display::EventKind::Close:
            close_all();
            break;
        }
        if (!state().posted.empty() || state().quit_requested)
            return false;
    }
    return false;
}

}  // namespace tickvane::device
