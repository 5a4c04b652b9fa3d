// FindWindowW: this process's windows first, then those of the device's other processes.
#include "codepage/unicode.h"
#include "registry/window_registry.h"
#include "wm/window_manager.h"
#include "wm/window_tree.h"

using namespace tickvane::device;

HWND WINAPI FindWindowW(LPCWSTR className, LPCWSTR windowName)
{
    if (className != nullptr && IS_INTRESOURCE(className))
        return nullptr;  // class atoms are not kept across processes
    for (HWND hwnd : window_tree().z_order) {
        Window* w = find_window(hwnd);
        if (w == nullptr || w->destroying)
            continue;
        bool class_ok = className == nullptr || same_name_ignoring_case(w->class_name, className);
        bool title_ok = windowName == nullptr || w->title == windowName;
        if (class_ok && title_ok)
            return hwnd;
    }
    return registry_find_other(className, windowName);
}
