#include "controls/controls.h"

#include "controls/control_classes.h"

namespace tickvane::device {

void register_control_classes()
{
    register_button_class();
    register_static_class();
    register_combo_box_classes();
}

HWND parent_of(HWND control)
{
    // GetParent answers a top-level window's owner, which hears nothing from a control.
    return (GetWindowLongW(control, GWL_STYLE) & WS_CHILD) ? GetParent(control) : nullptr;
}

void notify_parent(HWND control, WORD code)
{
    if (HWND parent = parent_of(control))
        SendMessageW(parent, WM_COMMAND, MAKEWPARAM(GetWindowLongW(control, GWL_ID), code), (LPARAM)control);
}

}  // namespace tickvane::device
