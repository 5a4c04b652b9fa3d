#include "desktop_options.h"

#include "kept_state.h"
#include "res/program_icon.h"
#include "res/resources.h"
#include "state.h"

namespace tickvane::device {

display::DesktopOptions desktop_options()
{
    display::DesktopOptions options;
    options.scale = state().settings.scale;
    options.place = read_kept_state(state().settings.root).window_place;
    options.icon = program_icon_pixels(program_instance());
    return options;
}

}  // namespace tickvane::device
