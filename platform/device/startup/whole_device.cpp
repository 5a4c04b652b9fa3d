// The record of all the device's parts. Each folder owns its own and makes it on first
// use; here they are made together, in this order, so that dropping them (the last
// made first) undoes them in the reverse order: open files close while the settings
// and the clock still stand, and the settings go last.
#include "compositor/compositor.h"
#include "files/file_table.h"
#include "gdi/gdi_objects.h"
#include "kept/kept_state.h"
#include "menus/menus.h"
#include "notify/user_notification.h"
#include "parts/part.h"
#include "registry/window_registry.h"
#include "res/resources.h"
#include "screen/screen.h"
#include "seams/seams.h"
#include "settings/device_settings.h"
#include "softkeys/menu_bars.h"
#include "softkeys/shown_bar.h"
#include "softkeys/soft_key_press.h"
#include "startup/start_device.h"
#include "time/clock.h"
#include "wm/activation_state.h"
#include "wm/input_queue.h"
#include "wm/message_queue.h"
#include "wm/window_tree.h"

namespace tickvane::device {

void make_device()
{
    device_settings();
    device_clock();
    window_tree();
    activation();
    input_queue();
    message_queue();
    gdi_objects();
    screen();
    compositor();
    file_table();
    menu_table();
    menu_bars();
    soft_key_press_state();
    soft_key_look();
    window_registry();
    resource_cache();
    kept_place();
    notification_log();
    seams();
}

void replace_device()
{
    parts::drop_all();  // the old device goes first: its files close, its fds are given back
    make_device();
}

}  // namespace tickvane::device
