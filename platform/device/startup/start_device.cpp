#include "startup/start_device.h"

#include <filesystem>

#include "compositor/screen.h"
#include "controls/controls.h"
#include "dialogs/dialogs.h"
#include "files/file_table.h"
#include "kept/kept_state.h"
#include "present/present_screen.h"
#include "registry/window_registry.h"
#include "screen/screen.h"
#include "softkeys/soft_key_bar.h"
#include "startup/desktop_options.h"
#include "text/text.h"
#include "wm/message_queue.h"
#include "wm/window_manager.h"

namespace tickvane::device {

void start_device(const Settings& settings)
{
    make_device();
    set_device_settings(settings);
    screen().width = settings.screen_width;
    screen().height = settings.screen_height;
    apply_kept_orientation();
    registry_open(settings.root);
    text::remember_font_in(settings.root + "/.device/font");
    register_dialog_class();
    register_control_classes();
    set_input_filter(soft_key_filter);  // the shell's soft keys see input first
    message_queue().present = present_screen;
    set_desktop_options(desktop_options);
}

void stop_device()
{
    registry_close();
    keep_window_place();
    // Windows still open go with the process; only their device-wide entries must not stay,
    // and files left open are made durable and closed.
    compositor().display.reset();
    file_table() = FileTable{};
}

}  // namespace tickvane::device
