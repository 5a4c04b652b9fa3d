#include "wm/window_layers.h"

#include "wm/activation_state.h"
#include "wm/window_tree.h"

namespace tickvane::device {

const std::vector<Layer>& window_layers()
{
    static thread_local std::vector<Layer> layers;  // no allocation on every present
    layers.clear();
    for (HWND hwnd : window_tree().z_order) {
        Window* w = find_window(hwnd);
        if (w == nullptr || !w->visible || w->minimized || w->surface.bpp != 32)
            continue;
        std::ptrdiff_t step = w->surface.bottom_up ? -(std::ptrdiff_t)w->surface.stride : w->surface.stride;
        layers.push_back(Layer{w->surface.row(0), step, w->frame, w->above_title_bar});
    }
    return layers;
}

std::u16string active_window_title()
{
    Window* active = find_window(activation().active);
    return active != nullptr ? active->title : std::u16string();
}

}  // namespace tickvane::device
