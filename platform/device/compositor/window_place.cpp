// Where the desktop window stands, kept for the next start.
#include "compositor/compositor.h"
#include "compositor/screen.h"
#include "kept/kept_state.h"
#include "settings/device_settings.h"

namespace tickvane::device {

void keep_window_place()
{
    Compositor& c = compositor();
    std::optional<display::WindowPlace> place = c.display ? c.display->place() : std::nullopt;
    if (!place || place == kept_place().written)
        return;
    kept_place().written = place;
    keep_state(device_settings().root, KeptState{std::nullopt, {240, 320}, place});
}

}  // namespace tickvane::device
