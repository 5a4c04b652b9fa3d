// The device's own settings, like a handheld's control panel: read by the device
// alone, from TICKVANE_* environment variables.
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string_view>

#include "settings/device_image.h"
#include "settings/settings.h"
#include "warn_once.h"

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
// <root>), else the per-user folder; empty when there is no home either.
std::string default_root(const std::string& executable)
{
    std::error_code ec;
    fs::path exe = fs::weakly_canonical(executable, ec);
    for (fs::path p = exe.parent_path(); p.has_parent_path() && p != p.parent_path(); p = p.parent_path())
        if (fs::is_directory(p / "Program Files", ec))
            return p.string();
    return per_user_root().value_or("");
}

// The password database's home: HOME may be unset (a service manager, cron, sudo -i
// without it), and a shared fallback such as /tmp would let another user lay out
// the tree first.
std::string home()
{
    if (!env("HOME").empty() && env("HOME")[0] == '/')
        return env("HOME");
    const passwd* user = getpwuid(geteuid());
    return user && user->pw_dir && user->pw_dir[0] == '/' ? user->pw_dir : "";
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

// Empty when `text` is a screen size the device can have, else what is wrong with it.
std::string parse_screen(const std::string& text, int& width, int& height)
{
    size_t x = text.find_first_of("xX");
    int w = 0, h = 0;
    std::string_view sides[2] = {std::string_view(text).substr(0, x), std::string_view(text).substr(x + 1)};
    if (x == std::string::npos || !parse_whole(sides[0], 0, INT_MAX, w) || !parse_whole(sides[1], 0, INT_MAX, h)) {
        // A side too long for an int is still a number: out of range, not malformed.
        bool digits = x != std::string::npos && !sides[0].empty() && !sides[1].empty() &&
                      sides[0].find_first_not_of("0123456789") == std::string_view::npos &&
                      sides[1].find_first_not_of("0123456789") == std::string_view::npos;
        if (!digits)
            return "is not WxH";
        w = h = INT_MAX;
    }
    if (w < 64 || w > 4096 || h < 64 || h > 4096)
        return "is out of range (each side 64 to 4096)";
    width = w;
    height = h;
    return "";
}

}  // namespace

std::optional<std::string> per_user_root()
{
    std::string data = env("XDG_DATA_HOME");
    if (data.empty() || data[0] != '/') {
        if (home().empty())
            return std::nullopt;
        data = home() + "/.local/share";
    }
    return (fs::path(data) / "tickvane/device").lexically_normal().string();
}

std::string install_command(const std::string& root)
{
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    std::string build = !ec && fs::exists(exe.parent_path() / "CMakeCache.txt", ec) ? exe.parent_path().string()
                                                                                    : std::string("<build folder>");
    return "cmake --install " + build + " --prefix '" + root + "'";
}

Settings settings_from_environment(const std::string& executable)
{
    Settings s;
    // An installed image is no one's tree: its users' trees are their own folders.
    s.image = installed_image(executable);
    std::string given = env("TICKVANE_DEVICE_ROOT");
    std::error_code ec;
    if (!given.empty()) {
        // Made absolute once: the programs the service starts run elsewhere.
        s.root = fs::absolute(given, ec).lexically_normal().string();
        if (!ec && s.root.size() > 1 && s.root.back() == '/')
            s.root.pop_back();
        // Never made here: a root the variable names may be any folder at all.
        struct stat st {};
        int error = stat(s.root.c_str(), &st) != 0 ? errno : S_ISDIR(st.st_mode) ? 0 : ENOTDIR;
        if (error != 0)
            s.refusal = "tickvane: cannot use the device root " + s.root +
                        " (TICKVANE_DEVICE_ROOT): " + std::strerror(error) +
                        "; lay a device tree out there with: " + install_command(s.root);
    } else {
        s.root = default_root(s.image.empty() ? executable : std::string());
        if (s.root.empty())
            s.refusal =
                "tickvane: no device root: HOME and XDG_DATA_HOME are unset and the password database has no "
                "home for this user; set TICKVANE_DEVICE_ROOT to a device tree";
    }
    std::string screen = env("TICKVANE_SCREEN");
    std::string wrong = screen.empty() ? "" : parse_screen(screen, s.screen_width, s.screen_height);
    if (!wrong.empty())
        warn_once("tickvane: TICKVANE_SCREEN=%s %s; using %dx%d", screen.c_str(), wrong.c_str(), s.screen_width,
                  s.screen_height);
    s.display = env("TICKVANE_DISPLAY");
    if (!s.display.empty() && s.display != "window" && s.display != "headless") {
        warn_once("tickvane: TICKVANE_DISPLAY=%s is neither window nor headless; choosing by itself",
                  s.display.c_str());
        s.display.clear();
    }
    std::string scale = env("TICKVANE_SCALE");
    if (!scale.empty()) {
        if (!parse_whole(scale, 1, 8, s.scale))
            warn_once("tickvane: TICKVANE_SCALE=%s is not a whole number from 1 to 8; using the monitor's zoom",
                      scale.c_str());
    }
    s.screenshot = env("TICKVANE_SCREENSHOT");
    return s;
}

}  // namespace tickvane::device
