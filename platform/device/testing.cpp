#include "testing.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <vector>

#include "device.h"
#include "menus/menus.h"
#include "notify/notification_store.h"
#include "notify/user_notification.h"
#include "registry/window_registry.h"
#include "res/resources.h"
#include "screen.h"
#include "softkeys/soft_key_bar.h"
#include "clock.h"
#include "compositor.h"
#include "gdi/gdi_objects.h"
#include "seams.h"
#include "device_state.h"
#include "wm/input_queue.h"
#include "wm/window_tree.h"

namespace tickvane::device::testing {

namespace {

std::string& current_root()
{
    static std::string r;
    return r;
}

void queue(display::EventKind kind, int x = 0, int y = 0, int vk = 0)
{
    display::Event e;
    e.kind = kind;
    e.x = x;
    e.y = y;
    e.vk = vk;
    input_queue().events.push_back(e);
}

// The temporary root made for the previous test, removed when the next one starts
// or the test program ends.
std::string& made_root()
{
    static std::string* r = new std::string;  // outlives the exit handler that empties it
    return *r;
}

void remove_made_root()
{
    std::error_code ec;
    if (!made_root().empty())
        std::filesystem::remove_all(made_root(), ec);
    made_root().clear();
}

std::string fresh_root()
{
    static bool cleanup_registered = (std::atexit(remove_made_root), true);
    (void)cleanup_registered;
    remove_made_root();
    std::string pattern = (std::filesystem::temp_directory_path() / "tickvane-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
        return {};
    made_root() = pattern;
    return pattern;
}

// A window's last message, so that what its procedure keeps for it (a control's state
// in its extra bytes) goes with it; nothing else of a destruction happens.
void send_last_messages()
{
    std::vector<HWND> left;
    for (auto& [value, w] : window_tree().windows)
        left.push_back(w->handle);
    for (HWND hwnd : left)
        if (IsWindow(hwnd))
            SendMessageW(hwnd, WM_NCDESTROY, 0, 0);
}

}  // namespace

void reset(const Options& options)
{
    send_last_messages();
    registry_close();
    replace_device();
    Settings settings;
    settings.root = options.root.empty() ? fresh_root() : options.root;
    if (settings.root.empty())
        throw std::runtime_error("cannot make a temporary device root");
    settings.screen_width = options.width;
    settings.screen_height = options.height;
    settings.display = "headless";
    current_root() = settings.root;
    start_device(settings);
    compositor().display = display::open_headless(options.width, options.height, "");
    device_clock() = Clock{true, 1000, options.local_time};
    notify::set_service_autostart(options.start_service);
}

const std::string& root() { return current_root(); }

void set_local_time(const SYSTEMTIME& t) { device_clock().pinned = t; }

void on_idle(std::function<void()> hook) { seams().idle = std::move(hook); }

uint64_t virtual_now() { return device_clock().virtual_now; }

HINSTANCE instance() { return program_instance(); }

void tap(int x, int y)
{
    queue(display::EventKind::PointerDown, x, y);
    queue(display::EventKind::PointerUp, x, y);
}

void press_key(int vk, bool shift, bool alt)
{
    display::Event e;
    e.vk = vk;
    e.shift = shift;
    e.alt = alt;
    e.kind = display::EventKind::KeyDown;
    input_queue().events.push_back(e);
    e.kind = display::EventKind::KeyUp;
    input_queue().events.push_back(e);
}

void switch_away() { queue(display::EventKind::FocusLost); }
void switch_back() { queue(display::EventKind::FocusGained); }
void rotate() { queue(display::EventKind::Rotate); }

void close_display() { queue(display::EventKind::Close); }

uint32_t screen_pixel(int x, int y)
{
    present_if_dirty();
    if (x < 0 || y < 0 || x >= compositor().width || y >= compositor().height)
        return 0xFFFFFFFF;
    return compositor().pixels[(size_t)y * compositor().width + x];
}

HWND top_window()
{
    for (auto it = window_tree().z_order.rbegin(); it != window_tree().z_order.rend(); ++it)
        if (Window* w = find_window(*it); w != nullptr && w->visible && !w->minimized)
            return w->handle;
    return nullptr;
}

int screen_width() { return compositor().width; }
int screen_height() { return compositor().height; }
RECT work_area() { return device::work_area(); }

void on_registration(std::function<bool(const SYSTEMTIME& start)> hook)
{
    notify::set_registration_hook(std::move(hook));
}

std::vector<Pending> pending()
{
    std::vector<Pending> rows;
    std::error_code ec;
    if (!std::filesystem::exists(notify::database_path(root()), ec))
        return rows;
    std::string error;
    auto store = notify::NotificationStore::open(root(), false, error);
    auto stored = store ? store->all() : std::nullopt;
    if (!stored)
        throw std::runtime_error("cannot read the notification database: " + (store ? store->error() : error));
    for (notify::Registration& r : *stored)
        rows.push_back({std::move(r.due), std::move(r.application), std::move(r.arguments)});
    return rows;
}

size_t gdi_object_count()
{
    size_t n = 0;
    for (auto& [value, object] : gdi_objects().objects)
        if (value >= 0x10000)
            ++n;
    return n;
}

}  // namespace tickvane::device::testing
