#include "device_state.h"
#include "clock.h"
#include "compositor/compositor.h"
#include "device_settings.h"
#include "files/file_table.h"
#include "gdi/gdi_objects.h"
#include "seams.h"
#include "wm/activation_state.h"
#include "wm/input_queue.h"
#include "wm/message_queue.h"
#include "wm/window_tree.h"

namespace tickvane::device {

namespace {

std::unique_ptr<Device>& current()
{
    static std::unique_ptr<Device> d = std::make_unique<Device>();
    return d;
}

}  // namespace

Device& device() { return *current(); }

void replace_device()
{
    current().reset();  // the old device goes first: its files close, its fds are given back
    current() = std::make_unique<Device>();
}

const Settings& device_settings() { return device().settings; }
Clock& device_clock() { return device().clock; }
WindowTree& window_tree() { return device().tree; }
Activation& activation() { return device().activation; }
InputQueue& input_queue() { return device().input; }
MessageQueue& message_queue() { return device().queue; }
GdiObjects& gdi_objects() { return device().gdi; }
Compositor& compositor() { return device().compositor; }
FileTable& file_table() { return device().files; }
MenuTable& menu_table() { return device().menus; }
MenuBars& menu_bars() { return device().menu_bars; }
SoftKeyPress& soft_key_press_state() { return device().soft_key_press; }
BarVersion& soft_key_look() { return device().soft_key_look; }
WindowRegistry& window_registry() { return device().registry; }
ResourceCache& resource_cache() { return device().resources; }
KeptPlace& kept_place() { return device().kept_place; }
notify::NotificationSeams& notification_seams() { return device().notifications; }
Seams& seams() { return device().seams; }

}  // namespace tickvane::device
