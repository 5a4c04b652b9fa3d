// A fresh headless device for each test, on a temporary root of its own.
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#include "device.h"
#include "menus/menus.h"
#include "notify/user_notification.h"
#include "registry/window_registry.h"
#include "res/resources.h"
#include "softkeys/soft_key_bar.h"
#include "testing.h"

namespace tickvane::device::testing {

namespace {

std::string& current_root()
{
    static std::string r;
    return r;
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

}  // namespace

void reset(const Options& options)
{
    registry_close();
    reset_soft_keys();
    reset_menus();
    State& s = state();
    s = State{};
    Settings settings;
    settings.root = options.root.empty() ? fresh_root() : options.root;
    if (settings.root.empty())
        throw std::runtime_error("cannot make a temporary device root");
    settings.screen_width = options.width;
    settings.screen_height = options.height;
    settings.display = "headless";
    current_root() = settings.root;
    start_device(settings);
    s.display = display::open_headless(options.width, options.height, "");
    s.virtual_time = true;
    s.virtual_now = 1000;
    s.pinned_time = options.local_time;
    notify::set_registration_hook({});
    notify::set_service_autostart(options.start_service);
    notify::forget_told_refusal();
}

const std::string& root() { return current_root(); }

HINSTANCE instance() { return program_instance(); }

}  // namespace tickvane::device::testing
