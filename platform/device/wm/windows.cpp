// Classes, creation and destruction of windows.
#include <unistd.h>

#include <algorithm>

#include "codepage/unicode.h"
#include "registry/window_registry.h"
#include "screen/screen.h"
#include "wm/activation_state.h"
#include "wm/input_queue.h"
#include "wm/message_queue.h"
#include "wm/window_manager.h"
#include "wm/window_tree.h"

namespace tickvane::device {

namespace {

std::u16string name_of(LPCWSTR s)
{
    if (s == nullptr)
        return {};
    if (IS_INTRESOURCE(s))
        return u"#" + utf16_from_utf8(std::to_string((ULONG_PTR)s));
    return std::u16string(s);
}

WindowClass* find_class(const std::u16string& name)
{
    for (auto& c : window_tree().classes)
        if (same_name_ignoring_case(c.name, name))
            return &c;
    return nullptr;
}

HWND new_handle()
{
    // Handles carry the owning process so that they mean the same thing everywhere.
    uint64_t value = (uint64_t)getpid() << 24 | window_tree().next_window++;
    return (HWND)(uintptr_t)value;
}

// Screen coordinates of a new window; a child's position is relative to its parent.
RECT initial_rect(DWORD style, const Window* parent, int x, int y, int width, int height, bool& fills_work_area)
{
    fills_work_area = false;
    if (x == CW_USEDEFAULT || width == CW_USEDEFAULT) {
        if (parent == nullptr) {
            fills_work_area = true;  // as the handheld's shell places a new top-level window
            return work_area();
        }
        x = y = 0;
        width = height = 0;
    }
    if (height == CW_USEDEFAULT)
        height = 0;
    if (parent != nullptr && (style & WS_CHILD)) {
        x += parent->rect.left;
        y += parent->rect.top;
    }
    return RECT{x, y, x + std::max(width, 0), y + std::max(height, 0)};
}

}  // namespace

Window* find_window(HWND hwnd)
{
    auto it = window_tree().windows.find((uintptr_t)hwnd);
    return it == window_tree().windows.end() ? nullptr : it->second.get();
}

Window* top_level_of(HWND hwnd)
{
    Window* w = find_window(hwnd);
    while (w != nullptr && w->parent != nullptr)
        w = find_window(w->parent);
    return w;
}

bool is_own_window(HWND hwnd) { return find_window(hwnd) != nullptr; }

LRESULT send(Window& w, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (w.proc == nullptr)
        return 0;
    return w.proc(w.handle, msg, wParam, lParam);
}

void shift_rect(RECT& r, int dx, int dy) { r.left += dx, r.right += dx, r.top += dy, r.bottom += dy; }

// Children keep screen coordinates, so they go along; the pixels stay as they are.
void move_with_children(Window& moved, int dx, int dy)
{
    shift_rect(moved.frame, dx, dy);
    shift_rect(moved.rect, dx, dy);
    for (HWND child : moved.children)
        if (Window* c = find_window(child))
            move_with_children(*c, dx, dy);
}

void resize_window(Window& w, const RECT& frame)
{
    w.frame = frame;
    w.rect = w.parent == nullptr ? client_within(w.style, frame) : frame;
    if (w.parent == nullptr) {
        w.surface = Surface::make_xrgb(std::max<LONG>(frame.right - frame.left, 0),
                                       std::max<LONG>(frame.bottom - frame.top, 0));
        w.surface.show_at(&w.frame);
        paint_frame(w);
    }
    mark_screen_changed();
}

}  // namespace tickvane::device

using namespace tickvane::device;

ATOM WINAPI RegisterClassW(const WNDCLASSW* wc)
{
    if (wc == nullptr || wc->lpszClassName == nullptr || wc->lpfnWndProc == nullptr)
        return 0;
    std::u16string name = name_of(wc->lpszClassName);
    if (name.empty() || find_class(name) != nullptr)
        return 0;
    WindowClass c;
    c.name = name;
    c.wc = *wc;
    c.wc.lpszClassName = nullptr;  // the caller's string need not outlive the call
    c.wc.lpszMenuName = nullptr;
    window_tree().classes.push_back(c);
    return (ATOM)(0xC000 + window_tree().classes.size());
}

HWND WINAPI CreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x, int y, int width,
                            int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param)
{
    WindowClass* cls = find_class(name_of(className));
    if (cls == nullptr || (parent != nullptr && find_window(parent) == nullptr))
        return nullptr;

    auto owned = std::make_unique<Window>();
    Window& w = *owned;
    w.handle = new_handle();
    w.class_name = cls->name;
    w.title = windowName ? std::u16string(windowName) : std::u16string();
    w.proc = cls->wc.lpfnWndProc;
    w.class_style = cls->wc.style;
    w.background = cls->wc.hbrBackground;
    w.extra.resize((size_t)std::max(cls->wc.cbWndExtra, 0));
    w.style = style & ~(DWORD)(WS_VISIBLE | WS_DISABLED);
    w.enabled = (style & WS_DISABLED) == 0;
    w.parent = (style & WS_CHILD) ? parent : nullptr;
    // A top-level window created with a parent is owned by that window's top-level window.
    if (!(style & WS_CHILD) && parent != nullptr)
        w.owner = top_level_of(parent)->handle;
    if (style & WS_CHILD)
        w.id = (int)(intptr_t)menu;
    resize_window(w, initial_rect(style, w.parent ? find_window(w.parent) : nullptr, x, y, width, height,
                                  w.fills_work_area));
    HWND hwnd = w.handle;
    window_tree().windows[(uintptr_t)hwnd] = std::move(owned);
    link_window(w);
    if (w.parent == nullptr) {
        window_tree().z_order.push_back(hwnd);
        registry_add(hwnd, w.class_name, w.title);
    }

    CREATESTRUCTW cs{param,
                     instance,
                     menu,
                     parent,
                     (int)(w.rect.bottom - w.rect.top),
                     (int)(w.rect.right - w.rect.left),
                     (int)w.rect.top,
                     (int)w.rect.left,
                     (LONG)style,
                     windowName,
                     className,
                     exStyle};
    // A handler may destroy the window it is creating: look it up again after each send.
    bool created = send(w, WM_NCCREATE, 0, (LPARAM)&cs) != 0;
    Window* still = find_window(hwnd);
    created = created && still != nullptr && send(*still, WM_CREATE, 0, (LPARAM)&cs) != -1;
    still = find_window(hwnd);
    if (!created || still == nullptr) {
        DestroyWindow(hwnd);
        return nullptr;
    }
    send(*still, WM_SIZE, SIZE_RESTORED,
         MAKELPARAM(still->rect.right - still->rect.left, still->rect.bottom - still->rect.top));
    POINT at{still->rect.left, still->rect.top};  // a child's, from its parent's client area
    if (const Window* holder = find_window(still->parent))
        at.x -= holder->rect.left, at.y -= holder->rect.top;
    send(*still, WM_MOVE, 0, MAKELPARAM(at.x, at.y));
    if (style & WS_VISIBLE)
        ShowWindow(hwnd, SW_SHOW);
    return hwnd;
}

BOOL WINAPI DestroyWindow(HWND hwnd)
{
    Window* w = find_window(hwnd);
    if (w == nullptr || w->destroying)
        return FALSE;
    w->destroying = true;
    // Windows it owns go first, then its children, as on Windows.
    std::vector<HWND> dependants = w->owned;
    dependants.insert(dependants.end(), w->children.begin(), w->children.end());
    for (HWND d : dependants)
        DestroyWindow(d);
    if ((w = find_window(hwnd)) == nullptr)
        return TRUE;

    if (w->visible)
        ShowWindow(hwnd, SW_HIDE);  // hands activation on first, as hiding does
    send(*w, WM_DESTROY, 0, 0);
    send(*w, WM_NCDESTROY, 0, 0);

    auto& timers = message_queue().timers;
    timers.erase(std::remove_if(timers.begin(), timers.end(), [&](const Timer& t) { return t.hwnd == hwnd; }),
                 timers.end());
    auto& z = window_tree().z_order;
    z.erase(std::remove(z.begin(), z.end(), hwnd), z.end());
    if (activation().active == hwnd)
        activation().active = nullptr;
    if (activation().last_active == hwnd)
        activation().last_active = nullptr;
    if (input_queue().pointer_window == hwnd)
        input_queue().pointer_window = nullptr;
    if (activation().focus == hwnd)
        activation().focus = nullptr;
    if (activation().capture == hwnd)
        activation().capture = nullptr;
    if (w->parent == nullptr)
        registry_remove(hwnd);
    bool was_top_level = w->parent == nullptr;
    unlink_window(*w);
    window_tree().windows.erase((uintptr_t)hwnd);
    mark_screen_changed();
    if (was_top_level && message_queue().closing_all)
        close_next_window();
    return TRUE;
}

BOOL WINAPI IsWindow(HWND hwnd) { return find_window(hwnd) != nullptr; }

BOOL WINAPI IsWindowVisible(HWND hwnd)
{
    Window* w = find_window(hwnd);
    return w != nullptr && w->visible;
}

BOOL WINAPI IsIconic(HWND hwnd)
{
    Window* w = find_window(hwnd);
    return w != nullptr && w->minimized;
}

BOOL WINAPI GetClientRect(HWND hwnd, LPRECT rect)
{
    Window* w = find_window(hwnd);
    if (w == nullptr || rect == nullptr)
        return FALSE;
    *rect = RECT{0, 0, w->rect.right - w->rect.left, w->rect.bottom - w->rect.top};
    return TRUE;
}

BOOL WINAPI GetWindowRect(HWND hwnd, LPRECT rect)
{
    Window* w = find_window(hwnd);
    if (w == nullptr || rect == nullptr)
        return FALSE;
    *rect = w->frame;
    return TRUE;
}

BOOL WINAPI ClientToScreen(HWND hwnd, LPPOINT point)
{
    Window* w = find_window(hwnd);
    if (w == nullptr || point == nullptr)
        return FALSE;
    point->x += w->rect.left;
    point->y += w->rect.top;
    return TRUE;
}

HCURSOR WINAPI LoadCursorW(HINSTANCE instance, LPCWSTR name)
{
    // The handheld shows no pointer; the arrow exists so that classes can name it.
    if (instance == nullptr && name == IDC_ARROW)
        return (HCURSOR)(uintptr_t)0x7F00;
    return nullptr;
}
