// The device's settings as the environment gives them.
#pragma once

#include <string>

#include "device_settings.h"

namespace tickvane::device {

// The device settings from the environment (TICKVANE_*), with `executable` used to
// find the device root when none is given.
Settings settings_from_environment(const std::string& executable);

}  // namespace tickvane::device
