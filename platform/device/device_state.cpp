// The device object and the accessor of each of its parts.
#include "device_state.h"

namespace tickvane::device {

namespace {

// Made on first use, so that nothing depends on the order of static initialisation;
// the plain pointer keeps the accessors, which the paint path calls often, free of
// the guard a function-local static checks on every call.
Device* g_device = nullptr;

// Never destroyed: windows still open at exit go with the process, as on Windows,
// without their procedures being called from static destructors. stop_device closes
// what must be closed first.
std::unique_ptr<Device>& owner()
{
    static auto* d = new std::unique_ptr<Device>;
    return *d;
}

Device& make_device()
{
    owner() = std::make_unique<Device>();
    g_device = owner().get();
    return *g_device;
}

}  // namespace

Device& device() { return g_device != nullptr ? *g_device : make_device(); }

void replace_device()
{
    g_device = nullptr;
    owner().reset();  // the old device goes first: its files close, its fds are given back
    make_device();
}

const Settings& device_settings() { return device().settings; }
Clock& device_clock() { return device().clock; }
WindowTree& window_tree() { return device().tree; }
Activation& activation() { return device().activation; }
InputQueue& input_queue() { return device().input; }
MessageQueue& message_queue() { return device().queue; }
GdiObjects& gdi_objects() { return device().gdi; }
Screen& screen() { return device().screen; }
Compositor& compositor() { return device().compositor; }
FileTable& file_table() { return device().files; }
MenuTable& menu_table() { return device().menus; }
MenuBars& menu_bars() { return device().menu_bars; }
SoftKeyPress& soft_key_press_state() { return device().soft_key_press; }
BarVersion& soft_key_look() { return device().soft_key_look; }
WindowRegistry& window_registry() { return device().registry; }
ResourceCache& resource_cache() { return device().resources; }
KeptPlace& kept_place() { return device().kept_place; }
notify::NotificationLog& notification_log() { return device().notifications; }
Seams& seams() { return device().seams; }

}  // namespace tickvane::device
