#include "startup/desktop_options.h"

#include "kept/kept_state.h"
#include "res/program_icon.h"
#include "res/resources.h"
#include "settings/device_settings.h"

namespace tickvane::device {

display::DesktopOptions desktop_options()
{
    display::DesktopOptions options;
    options.scale = device_settings().scale;
    options.place = read_kept_state(device_settings().root).window_place;
    options.icon = program_icon_pixels(program_instance());
    return options;
}

}  // namespace tickvane::device
