#include "controls/controls.h"

#include "controls/control_classes.h"
#include "wm/window_tree.h"

namespace tickvane::device {

void register_control_classes()
{
    register_button_class();
    register_static_class();
    register_combo_box_classes();
}

void notify_parent(HWND control, WORD code)
{
    Window* w = find_window(control);
    if (w == nullptr || w->parent == nullptr)
        return;
    SendMessageW(w->parent, WM_COMMAND, MAKEWPARAM(w->id, code), (LPARAM)control);
}

}  // namespace tickvane::device
