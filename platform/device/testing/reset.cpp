// A fresh headless device for each test, on a temporary root of its own.
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#include "compositor/compositor.h"
#include "notify/user_notification.h"
#include "registry/window_registry.h"
#include "res/resources.h"
#include "seams/seams.h"
#include "startup/start_device.h"
#include "testing.h"
#include "time/clock.h"
#include "wm/window_queries.h"

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

// A window's last message, so that what its procedure keeps for it (a control's state
// in its extra bytes) goes with it; nothing else of a destruction happens.
void send_last_messages()
{
    for (HWND hwnd : all_window_handles())
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
    settings.image = options.image;
    settings.screen_width = options.width;
    settings.screen_height = options.height;
    settings.display = "headless";
    current_root() = settings.root;
    start_device(settings);
    compositor().display = display::open_headless(options.width, options.height, "");
    device_clock() = Clock{true, 1000, options.local_time};
    seams().start_service = options.start_service;
}

const std::string& root() { return current_root(); }

HINSTANCE instance() { return program_instance(); }

}  // namespace tickvane::device::testing
