// Starting a device's notification service with the user's desktop session, on request:
// a systemd user unit, and an XDG autostart entry for sessions that systemd does not
// manage (systemd's own autostart generator skips it, so one service starts either way).
#pragma once

#include <string>

namespace tickvane::device::notify {

struct AutostartFiles {
    std::string unit;       // <config>/systemd/user/tickvane-device-<tag>.service
    std::string unit_link;  // <config>/systemd/user/graphical-session.target.wants/<same name>
    std::string desktop;    // <config>/autostart/tickvane-device-<tag>.desktop
};

// Where the files for `root` go: under $XDG_CONFIG_HOME, else ~/.config.
AutostartFiles autostart_files(const std::string& root);

// Writes (or rewrites) the files that start `service_exe --root <root> service` at
// login. 0, or 1 with a message.
int install_autostart(const std::string& root, const std::string& service_exe);

// Removes them; 0 also when there was nothing to remove.
int remove_autostart(const std::string& root);

}  // namespace tickvane::device::notify
