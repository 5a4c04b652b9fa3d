// The window tree: the registered classes and every window of this process, with the
// z-order of the top-level ones.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "screen/surface.h"
#include "win32.h"

namespace tickvane::device {

struct WindowClass {
    std::u16string name;
    WNDCLASSW wc{};
};

struct Window {
    HWND handle = nullptr;
    std::u16string class_name;
    std::u16string title;
    WNDPROC proc = nullptr;
    UINT class_style = 0;
    HBRUSH background = nullptr;
    DWORD style = 0;
    HWND parent = nullptr;  // WS_CHILD windows
    HWND owner = nullptr;   // top-level windows owned by another (dialogs, boxes, drop-down lists)
    int id = 0;             // a child's control id
    bool enabled = true;
    RECT rect{};                   // the client area, screen coordinates
    RECT frame{};                  // the whole window with caption and border; equals rect without them
    bool fills_work_area = false;  // created with CW_USEDEFAULT: follows the screen's work area
    bool above_title_bar = false;  // taller than the work area: shown over the title bar, caption first
    bool visible = false;
    bool minimized = false;
    bool destroying = false;
    bool has_update = false;  // update region, kept as its bounding rectangle
    RECT update{};            // client coordinates
    bool erase_pending = false;
    Surface surface;               // the window's pixels (top-level windows), caption and border included
    std::vector<std::byte> extra;  // the class's cbWndExtra bytes, zero at creation
    LONG_PTR user_data = 0;        // GWLP_USERDATA
    std::vector<HWND> children;    // in the order they were made: the dialog manager's tab order
    std::vector<HWND> owned;       // top-level windows it owns, in the order they were made
};

struct WindowTree {
    std::vector<WindowClass> classes;
    std::map<uintptr_t, std::unique_ptr<Window>> windows;  // by handle value
    std::vector<HWND> z_order;                             // top-level windows, bottom first
    std::vector<HWND> top_levels;                          // the same, in the order they were made
    uint32_t next_window = 1;
};

WindowTree& window_tree();

// Window lookup; null for handles that are not (or no longer) this process's windows.
Window* find_window(HWND hwnd);
Window* top_level_of(HWND hwnd);
// Every window, in the order they were made (the order WM_PAINT picks them in).
std::vector<Window*> all_windows();
// The first of them for which `wanted` holds, without making a list.
template <class Predicate>
Window* first_window(Predicate wanted)
{
    for (auto& [value, w] : window_tree().windows)
        if (wanted(*w))
            return w.get();
    return nullptr;
}
// Enters a new window into its parent's, its owner's or the top-level list ...
void link_window(Window& w);
// ... and takes a window that goes out of them.
void unlink_window(const Window& w);

}  // namespace tickvane::device
