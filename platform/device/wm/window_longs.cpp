// What a window keeps for its procedure and its class: the style, the id, the user
// data, the class's extra bytes, and the window's text; and the window relations.
#include <algorithm>
#include <cstring>

#include "errors/last_error.h"
#include "registry/window_registry.h"
#include "screen/screen.h"
#include "wm/window_manager.h"
#include "wm/window_tree.h"

namespace tickvane::device {

namespace {

// The extra bytes at `index`, when `size` of them lie inside the class's cbWndExtra.
std::byte* extra_at(Window& w, int index, size_t size)
{
    if (index < 0 || (size_t)index + size > w.extra.size()) {
        SetLastError(error_invalid_index);
        return nullptr;
    }
    return w.extra.data() + index;
}

template <typename T>
T exchange_extra(Window& w, int index, const T* value)
{
    std::byte* at = extra_at(w, index, sizeof(T));
    if (at == nullptr)
        return 0;
    T old;
    std::memcpy(&old, at, sizeof(T));
    if (value != nullptr)
        std::memcpy(at, value, sizeof(T));
    return old;
}

LONG visible_style(const Window& w)
{
    return (LONG)(w.style | (w.visible ? WS_VISIBLE : 0) | (w.enabled ? 0 : WS_DISABLED));
}

// The named fields; `value` null reads. False for an index that names none.
bool exchange_field(Window& w, int index, const LONG_PTR* value, LONG_PTR& old)
{
    switch (index) {
    case GWL_STYLE:
        old = visible_style(w);
        if (value != nullptr)  // visibility and enabling keep their own calls
            w.style = (DWORD)*value & ~(DWORD)(WS_VISIBLE | WS_DISABLED);
        return true;
    case GWL_ID:
        old = w.id;
        if (value != nullptr)
            w.id = (int)*value;
        return true;
    case GWLP_USERDATA:
        old = w.user_data;
        if (value != nullptr)
            w.user_data = *value;
        return true;
    case GWLP_WNDPROC:
        old = (LONG_PTR)w.proc;
        if (value != nullptr)
            w.proc = (WNDPROC)*value;
        return true;
    }
    return false;
}

template <typename T>
T window_long(HWND hwnd, int index, const T* value)
{
    Window* w = find_window(hwnd);
    if (w == nullptr) {
        SetLastError(error_invalid_window_handle);
        return 0;
    }
    LONG_PTR wide = value != nullptr ? (LONG_PTR)*value : 0;
    LONG_PTR old = 0;
    if (exchange_field(*w, index, value != nullptr ? &wide : nullptr, old))
        return (T)old;
    return exchange_extra<T>(*w, index, value);
}

// Siblings in the order GetWindow walks them: top-level windows topmost first,
// children in the order they were made (the dialog manager's tab order).
std::vector<HWND> siblings_of(const Window& w)
{
    std::vector<HWND> list;
    if (w.parent == nullptr) {
        list.assign(window_tree().z_order.rbegin(), window_tree().z_order.rend());
        return list;
    }
    if (Window* parent = find_window(w.parent))
        list = parent->children;
    return list;
}

HWND sibling(const Window& w, UINT relation)
{
    std::vector<HWND> list = siblings_of(w);
    auto at = std::find(list.begin(), list.end(), w.handle);
    if (at == list.end())
        return nullptr;
    switch (relation) {
    case GW_HWNDFIRST:
        return list.front();
    case GW_HWNDLAST:
        return list.back();
    case GW_HWNDNEXT:
        return at + 1 == list.end() ? nullptr : *(at + 1);
    case GW_HWNDPREV:
        return at == list.begin() ? nullptr : *(at - 1);
    }
    return nullptr;
}

}  // namespace

}  // namespace tickvane::device

using namespace tickvane::device;

LONG WINAPI GetWindowLongW(HWND hwnd, int index) { return window_long<LONG>(hwnd, index, nullptr); }
LONG WINAPI SetWindowLongW(HWND hwnd, int index, LONG value) { return window_long<LONG>(hwnd, index, &value); }
LONG_PTR WINAPI GetWindowLongPtrW(HWND hwnd, int index) { return window_long<LONG_PTR>(hwnd, index, nullptr); }

LONG_PTR WINAPI SetWindowLongPtrW(HWND hwnd, int index, LONG_PTR value)
{
    return window_long<LONG_PTR>(hwnd, index, &value);
}

HWND WINAPI GetWindow(HWND hwnd, UINT relation)
{
    Window* w = find_window(hwnd);
    if (w == nullptr) {
        SetLastError(error_invalid_window_handle);
        return nullptr;
    }
    if (relation == GW_OWNER)
        return w->owner;
    if (relation == GW_CHILD)
        return w->children.empty() ? nullptr : w->children.front();
    return sibling(*w, relation);
}

int WINAPI GetWindowTextW(HWND hwnd, LPWSTR text, int capacity)
{
    if (text == nullptr || capacity <= 0)
        return 0;
    text[0] = 0;
    return (int)SendMessageW(hwnd, WM_GETTEXT, (WPARAM)capacity, (LPARAM)text);
}

int WINAPI GetWindowTextLengthW(HWND hwnd) { return (int)SendMessageW(hwnd, WM_GETTEXTLENGTH, 0, 0); }

BOOL WINAPI SetWindowTextW(HWND hwnd, LPCWSTR text)
{
    return SendMessageW(hwnd, WM_SETTEXT, 0, (LPARAM)text) != 0 ? TRUE : FALSE;
}

namespace tickvane::device {

// DefWindowProcW's share of the text messages: the text lives in the window.
LRESULT default_text_message(Window& w, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_GETTEXTLENGTH:
        return (LRESULT)w.title.size();
    case WM_GETTEXT: {
        auto* out = (char16_t*)lParam;
        if (out == nullptr || wParam == 0)
            return 0;
        size_t n = std::min(w.title.size(), (size_t)wParam - 1);
        std::copy_n(w.title.data(), n, out);
        out[n] = 0;
        return (LRESULT)n;
    }
    case WM_SETTEXT:
        w.title = lParam != 0 ? std::u16string((const char16_t*)lParam) : std::u16string();
        if (w.parent == nullptr) {
            registry_add(w.handle, w.class_name, w.title);  // FindWindowW in other processes
            mark_screen_changed();                          // the title bar shows the active window's text
        } else
            invalidate_all(w, true);
        return TRUE;
    }
    return 0;
}

}  // namespace tickvane::device
