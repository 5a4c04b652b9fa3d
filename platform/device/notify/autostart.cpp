#include "notify/autostart.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "notify/service_address.h"

namespace fs = std::filesystem;

namespace tickvane::device::notify {

namespace {

constexpr const char* kTarget = "graphical-session.target";

std::string config_home()
{
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg != nullptr && xdg[0] == '/')
        return xdg;
    const char* home = std::getenv("HOME");
    return std::string(home != nullptr ? home : "") + "/.config";
}

// Both file formats take a double-quoted argument; these characters would need
// escapes that differ between them, so such paths are refused rather than mangled.
bool quotable(const std::string& path) { return path.find_first_of("\"\\$%`\n\r") == std::string::npos; }

std::string command_line(const std::string& exe, const std::string& root)
{
    return "\"" + exe + "\" --root \"" + root + "\" service";
}

std::string unit_text(const std::string& exe, const std::string& root)
{
    // The clocks it starts need the session's display, which the session hands to
    // systemd before graphical-session.target.
    return "[Unit]\nDescription=Tickvane device notification service for " + root + "\nPartOf=" + kTarget +
           "\nAfter=" + kTarget + "\n\n[Service]\nExecStart=" + command_line(exe, root) +
           "\nRestart=on-failure\n\n[Install]\nWantedBy=" + kTarget + "\n";
}

std::string desktop_text(const std::string& exe, const std::string& root)
{
    return "[Desktop Entry]\nType=Application\nName=Tickvane device service\nComment=Starts the launches registered "
           "on the Tickvane device at " +
           root + "\nExec=" + command_line(exe, root) + "\nNoDisplay=true\nTerminal=false\nX-systemd-skip=true\n";
}

bool write_file(const std::string& path, const std::string& text)
{
    std::error_code ec;
    fs::create_directories(fs::path(path).parent_path(), ec);
    std::string temporary = path + ".new";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!(out << text) || !out.flush())
            return false;
    }
    fs::rename(temporary, path, ec);
    return !ec;
}

// Lets a running user manager see the change now; without one it reads the files at
// the next login anyway.
void reload_user_manager() { (void)std::system("systemctl --user daemon-reload >/dev/null 2>&1"); }

}  // namespace

AutostartFiles autostart_files(const std::string& root)
{
    std::string name = "tickvane-device-" + root_tag(root);
    std::string units = config_home() + "/systemd/user/";
    return {units + name + ".service", units + kTarget + ".wants/" + name + ".service",
            config_home() + "/autostart/" + name + ".desktop"};
}

int install_autostart(const std::string& root, const std::string& service_exe)
{
    if (!quotable(root) || !quotable(service_exe)) {
        std::fprintf(stderr, "tickvane-device: %s cannot be named in a unit file (\" \\ $ %% ` or a line break)\n",
                     quotable(root) ? service_exe.c_str() : root.c_str());
        return 1;
    }
    AutostartFiles f = autostart_files(root);
    std::error_code ec;
    bool written = write_file(f.unit, unit_text(service_exe, root)) &&
                   write_file(f.desktop, desktop_text(service_exe, root));
    if (written) {
        // What `systemctl --user enable` makes, made here so that it works without a running manager.
        fs::create_directories(fs::path(f.unit_link).parent_path(), ec);
        fs::remove(f.unit_link, ec);
        fs::create_symlink(f.unit, f.unit_link, ec);
        written = !ec;
    }
    if (!written) {
        std::fprintf(stderr, "tickvane-device: cannot write the autostart files under %s\n", config_home().c_str());
        return 1;
    }
    reload_user_manager();
    std::printf("tickvane-device: the notification service for %s starts at login:\n  %s\n  %s\n", root.c_str(),
                f.unit.c_str(), f.desktop.c_str());
    return 0;
}

int remove_autostart(const std::string& root)
{
    AutostartFiles f = autostart_files(root);
    int removed = 0;
    for (const std::string& path : {f.unit_link, f.unit, f.desktop}) {
        std::error_code ec;
        removed += fs::remove(path, ec) ? 1 : 0;
        if (ec) {
            std::fprintf(stderr, "tickvane-device: cannot remove %s: %s\n", path.c_str(), ec.message().c_str());
            return 1;
        }
    }
    if (removed > 0)
        reload_user_manager();
    std::printf("tickvane-device: %s\n", removed > 0 ? "the notification service no longer starts at login"
                                                     : "nothing was installed to start at login");
    return 0;
}

}  // namespace tickvane::device::notify
