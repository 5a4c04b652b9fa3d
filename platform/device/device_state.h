// The device for one process, made of parts that each own their state. A part's code
// reaches only its own part through that part's accessor (window_tree(), activation(),
// ...); only setting up and taking down the device sees the whole.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <unordered_map>

#include "clock.h"
#include "compositor.h"
#include "device_settings.h"
#include "files/file_table.h"
#include "kept_state.h"
#include "gdi/gdi_objects.h"
#include "menus/menus.h"
#include "notify/user_notification.h"
#include "registry/window_registry.h"
#include "res/resources.h"
#include "seams.h"
#include "softkeys/menu_bars.h"
#include "softkeys/shown_bar.h"
#include "softkeys/soft_key_press.h"
#include "wm/activation_state.h"
#include "wm/input_queue.h"
#include "wm/message_queue.h"
#include "wm/window_tree.h"

namespace tickvane::device {

// What the dialog manager keeps for each dialog window (message boxes included).
struct DialogRecord {
    DLGPROC proc = nullptr;
    bool modal = false;
    bool ended = false;
    INT_PTR result = 0;
    HWND disabled_owner = nullptr;  // the owner its modal loop disabled, enabled again on the way out
    HWND saved_focus = nullptr;     // the control that gets the focus when the dialog is activated
    int default_id = IDOK;
    HFONT font = nullptr;
};

struct Device {
    Settings settings;
    Clock clock;
    WindowTree tree;
    Activation activation;
    InputQueue input;
    MessageQueue queue;
    GdiObjects gdi;
    Compositor compositor;
    FileTable files;  // open file handles; dropping the device closes them
    MenuTable menus;
    MenuBars menu_bars;
    SoftKeyPress soft_key_press;
    BarVersion soft_key_look;
    WindowRegistry registry;
    ResourceCache resources;
    KeptPlace kept_place;
    notify::NotificationSeams notifications;
    std::map<uintptr_t, DialogRecord> dialogs;  // by dialog window handle
    Seams seams;
};

Device& device();
// Drops the device (its windows, GDI objects, open files, timers) for a fresh one.
void replace_device();

}  // namespace tickvane::device
