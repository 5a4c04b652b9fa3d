// Dialogs and message boxes on a screen that turned: the handheld's shell resizes only
// the windows that fill the work area, so the device moves the others back into view.
#include <algorithm>
#include <vector>

#include "compositor/screen.h"
#include "wm/placement.h"
#include "wm/window_manager.h"
#include "wm/window_tree.h"

namespace tickvane::device {

namespace {

int centre_mapped(LONG low, LONG high, LONG old_from, LONG old_to, LONG new_from, LONG new_to)
{
    long long centre = (low + high) / 2 - old_from;
    long long old_size = std::max<LONG>(old_to - old_from, 1);
    return (int)(new_from + centre * (new_to - new_from) / old_size - (high - low) / 2);
}

// Dialogs and boxes carry a caption; a window without one (a dropped list) goes
// wherever its owner goes.
bool is_placed_popup(const Window& w)
{
    return w.parent == nullptr && !w.fills_work_area && w.visible && (w.style & WS_CAPTION) == WS_CAPTION;
}

}  // namespace

RECT fit_into_work_area(const RECT& frame, bool& above_title_bar)
{
    RECT area = work_area();
    int width = frame.right - frame.left, height = frame.bottom - frame.top;
    int x = std::clamp<int>(frame.left, area.left, std::max<int>(area.left, area.right - width));
    int y = std::clamp<int>(frame.top, area.top, std::max<int>(area.top, area.bottom - height));
    above_title_bar = y + height > area.bottom;
    if (above_title_bar)
        y = 0;
    return RECT{x, y, x + width, y + height};
}

void keep_popups_on_screen(const RECT& old_area)
{
    RECT area = work_area();
    std::vector<HWND> popups;
    for (HWND hwnd : window_tree().top_levels)
        if (Window* w = find_window(hwnd); w != nullptr && is_placed_popup(*w))
            popups.push_back(hwnd);
    for (HWND hwnd : popups) {
        Window* w = find_window(hwnd);
        if (w == nullptr)
            continue;
        RECT wanted = w->frame;
        shift_rect(wanted,
                   centre_mapped(w->frame.left, w->frame.right, old_area.left, old_area.right, area.left, area.right) -
                       w->frame.left,
                   centre_mapped(w->frame.top, w->frame.bottom, old_area.top, old_area.bottom, area.top, area.bottom) -
                       w->frame.top);
        RECT at = fit_into_work_area(wanted, w->above_title_bar);
        int dx = at.left - w->frame.left, dy = at.top - w->frame.top;
        move_with_children(*w, dx, dy);
        for (HWND o : std::vector<HWND>(w->owned))
            if (Window* owned = find_window(o); owned != nullptr && (owned->style & WS_CAPTION) != WS_CAPTION)
                move_with_children(*owned, dx, dy);
    }
    mark_screen_changed();
}

}  // namespace tickvane::device
