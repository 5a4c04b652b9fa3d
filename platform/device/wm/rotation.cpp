// The screen turned: the windows the shell lays out over the work area follow it, as the
// handheld's shell resizes them; the others are kept in view.
#include <vector>

#include "compositor/screen.h"
#include "wm/placement.h"
#include "wm/window_manager.h"
#include "wm/window_tree.h"

namespace tickvane::device {

void rotate_screen()
{
    RECT old_area = work_area();
    turn_screen();
    resize_display();
    std::vector<HWND> affected;
    for (HWND hwnd : window_tree().top_levels)
        if (Window* w = find_window(hwnd); w != nullptr && w->fills_work_area)
            affected.push_back(hwnd);
    for (HWND hwnd : affected) {
        Window* w = find_window(hwnd);
        if (w == nullptr)
            continue;
        resize_window(*w, work_area());
        if (w->class_style & (CS_HREDRAW | CS_VREDRAW))
            invalidate_all(*w, true);
        send(*w, WM_SIZE, SIZE_RESTORED, MAKELPARAM(w->rect.right - w->rect.left, w->rect.bottom - w->rect.top));
    }
    keep_popups_on_screen(old_area);
}

}  // namespace tickvane::device
