// The window tree's answers to other parts, and its links between windows.
#include "wm/window_queries.h"

#include <algorithm>

#include "wm/window_tree.h"

namespace tickvane::device {

namespace {

void erase_handle(std::vector<HWND>& list, HWND hwnd)
{
    list.erase(std::remove(list.begin(), list.end(), hwnd), list.end());
}

}  // namespace

std::vector<Window*> all_windows()
{
    std::vector<Window*> out;
    out.reserve(window_tree().windows.size());
    for (auto& [value, w] : window_tree().windows)
        out.push_back(w.get());
    return out;
}

void link_window(Window& w)
{
    if (Window* parent = find_window(w.parent))
        parent->children.push_back(w.handle);
    else
        window_tree().top_levels.push_back(w.handle);
    if (Window* owner = find_window(w.owner))
        owner->owned.push_back(w.handle);
}

void unlink_window(const Window& w)
{
    if (Window* parent = find_window(w.parent))
        erase_handle(parent->children, w.handle);
    erase_handle(window_tree().top_levels, w.handle);
    if (Window* owner = find_window(w.owner))
        erase_handle(owner->owned, w.handle);
}

std::vector<HWND> children_of(HWND parent)
{
    Window* w = find_window(parent);
    return w != nullptr ? w->children : std::vector<HWND>();
}

std::vector<HWND> owned_by(HWND owner)
{
    Window* w = find_window(owner);
    return w != nullptr ? w->owned : std::vector<HWND>();
}

HWND next_sibling(HWND child, bool previous)
{
    Window* w = find_window(child);
    Window* parent = w != nullptr ? find_window(w->parent) : nullptr;
    if (parent == nullptr)
        return nullptr;
    const std::vector<HWND>& list = parent->children;
    auto at = std::find(list.begin(), list.end(), child);
    if (at == list.end())
        return nullptr;
    if (previous)
        return at == list.begin() ? nullptr : *(at - 1);
    return at + 1 == list.end() ? nullptr : *(at + 1);
}

std::vector<HWND> all_window_handles()
{
    std::vector<HWND> out;
    out.reserve(window_tree().windows.size());
    for (auto& [value, w] : window_tree().windows)
        out.push_back(w->handle);
    return out;
}

std::vector<HWND> top_level_windows_front_first()
{
    return std::vector<HWND>(window_tree().z_order.rbegin(), window_tree().z_order.rend());
}

HWND parent_window(HWND hwnd)
{
    Window* w = find_window(hwnd);
    return w != nullptr ? w->parent : nullptr;
}

bool is_child_of(HWND child, HWND parent) { return parent != nullptr && parent_window(child) == parent; }

HWND top_level_window(HWND hwnd)
{
    Window* top = top_level_of(hwnd);
    return top != nullptr ? top->handle : nullptr;
}

bool has_class(HWND hwnd, const char16_t* class_name)
{
    Window* w = find_window(hwnd);
    return w != nullptr && w->class_name == class_name;
}

size_t extra_byte_count(HWND hwnd)
{
    Window* w = find_window(hwnd);
    return w != nullptr ? w->extra.size() : 0;
}

void set_above_title_bar(HWND hwnd, bool above)
{
    if (Window* w = find_window(hwnd))
        w->above_title_bar = above;
}

}  // namespace tickvane::device
