// The device for one process, made of parts that each own their state. A part's code
// reaches only its own part through that part's accessor (window_tree(), activation(),
// ...); only setting up and taking down the device sees the whole.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <unordered_map>

#include "clock.h"
#include "compositor/compositor.h"
#include "device_settings.h"
#include "files/file_table.h"
#include "gdi/gdi_objects.h"
#include "kept_state.h"
#include "menus/menus.h"
#include "notify/user_notification.h"
#include "registry/window_registry.h"
#include "res/resources.h"
#include "screen/screen.h"
#include "seams.h"
#include "softkeys/menu_bars.h"
#include "softkeys/shown_bar.h"
#include "softkeys/soft_key_press.h"
#include "wm/activation_state.h"
#include "wm/input_queue.h"
#include "wm/message_queue.h"
#include "wm/window_tree.h"

namespace tickvane::device {

struct Device {
    Settings settings;
    Clock clock;
    WindowTree tree;
    Activation activation;
    InputQueue input;
    MessageQueue queue;
    GdiObjects gdi;
    Screen screen;
    Compositor compositor;
    FileTable files;  // open file handles; dropping the device closes them
    MenuTable menus;
    MenuBars menu_bars;
    SoftKeyPress soft_key_press;
    BarVersion soft_key_look;
    WindowRegistry registry;
    ResourceCache resources;
    KeptPlace kept_place;
    notify::NotificationLog notifications;
    Seams seams;
};

Device& device();
// Drops the device (its windows, GDI objects, open files, timers) for a fresh one.
void replace_device();

}  // namespace tickvane::device
