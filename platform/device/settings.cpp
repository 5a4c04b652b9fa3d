// The device's own settings, like a handheld's control panel: read by the device
// alone, from TICKVANE_* environment variables.
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string_view>

#include "device.h"
#include "files/device_image.h"

namespace fs = std::filesystem;

namespace tickvane::device {

namespace {

std::string env(const char* name)
{
    const char* v = std::getenv(name);
    return v ? std::string(v) : std::string();
}

// The nearest folder above the executable that holds "Program Files" (so both
// <root>/Program Files/Tickvane/zubo.exe and <root>/Windows/tickvane-device find
// <root>), else a per-user folder.
std::string default_root(const std::string& executable)
{
    std::error_code ec;
    fs::path exe = fs::weakly_canonical(executable, ec);
    for (fs::path p = exe.parent_path(); p.has_parent_path() && p != p.parent_path(); p = p.parent_path())
        if (fs::is_directory(p / "Program Files", ec))
            return p.string();
    std::string data = env("XDG_DATA_HOME");
    if (data.empty())
        data = env("HOME").empty() ? "/tmp" : env("HOME") + "/.local/share";
    return data + "/tickvane/device";
}

// A whole decimal number from `low` to `high` and nothing else: no sign, no space,
// no fraction, no trailing letters.
bool parse_whole(std::string_view text, int low, int high, int& value)
{
    int v = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (text.empty() || text[0] == '+' || error != std::errc() || end != text.data() + text.size() || v < low ||
        v > high)
        return false;
    value = v;
    return true;
}

bool parse_screen(const std::string& text, int& width, int& height)
{
    size_t x = text.find_first_of("xX");
    int w = 0, h = 0;
    if (x == std::string::npos || !parse_whole(std::string_view(text).substr(0, x), 64, 4096, w) ||
        !parse_whole(std::string_view(text).substr(x + 1), 64, 4096, h))
        return false;
    width = w;
    height = h;
    return true;
}

}  // namespace

Settings settings_from_environment(const std::string& executable)
{
    Settings s;
    s.image = installed_image(executable);
    s.root = env("TICKVANE_DEVICE_ROOT");
    // An installed image is no one's tree: its users' trees are their own folders.
    if (s.root.empty())
        s.root = default_root(s.image.empty() ? executable : std::string());
    std::string screen = env("TICKVANE_SCREEN");
    if (!screen.empty() && !parse_screen(screen, s.screen_width, s.screen_height))
        std::fprintf(stderr, "tickvane: TICKVANE_SCREEN=%s is not WxH (64-4096 each); using %dx%d\n", screen.c_str(),
                     s.screen_width, s.screen_height);
    s.display = env("TICKVANE_DISPLAY");
    if (!s.display.empty() && s.display != "window" && s.display != "headless") {
        std::fprintf(stderr, "tickvane: TICKVANE_DISPLAY=%s is neither window nor headless; choosing by itself\n",
                     s.display.c_str());
        s.display.clear();
    }
    std::string scale = env("TICKVANE_SCALE");
    if (!scale.empty()) {
        if (!parse_whole(scale, 1, 8, s.scale))
            std::fprintf(stderr,
                         "tickvane: TICKVANE_SCALE=%s is not a whole number from 1 to 8; using the monitor's zoom\n",
                         scale.c_str());
    }
    s.screenshot = env("TICKVANE_SCREENSHOT");
    return s;
}

}  // namespace tickvane::device
