// GetClassNameW: the name of the class a window was made of.
#include <algorithm>

#include "errors/last_error.h"
#include "wm/window_tree.h"

int WINAPI GetClassNameW(HWND hwnd, LPWSTR name, int capacity)
{
    tickvane::device::Window* w = tickvane::device::find_window(hwnd);
    if (w == nullptr) {
        SetLastError(tickvane::device::error_invalid_window_handle);
        return 0;
    }
    if (name == nullptr || capacity <= 0) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    size_t n = std::min(w->class_name.size(), (size_t)capacity - 1);
    std::copy_n(w->class_name.data(), n, name);
    name[n] = 0;
    return (int)n;
}
