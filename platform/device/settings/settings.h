// The device's settings as the environment gives them.
#pragma once

#include <optional>
#include <string>

#include "settings/device_settings.h"

namespace tickvane::device {

// The device settings from the environment (TICKVANE_*), with `executable` used to
// find the device root when none is given.
// Settings::refusal says why no device can run (no root), with the fix.
Settings settings_from_environment(const std::string& executable);

// $XDG_DATA_HOME/tickvane/device, else under the home (HOME, else the password
// database's); empty when the user has no home at all.
std::optional<std::string> per_user_root();

// The command that lays out a device tree at `root`, from the build folder when
// this program runs from one.
std::string install_command(const std::string& root);

}  // namespace tickvane::device
