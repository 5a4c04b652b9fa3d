// Setting the device up for a program, and taking it down again.
#pragma once

#include <string>

#include "device_settings.h"

namespace tickvane::device {

// The device settings from the environment (TICKVANE_*), with `executable` used to
// find the device root when none is given.
Settings settings_from_environment(const std::string& executable);
void start_device(const Settings& settings);
void stop_device();

}  // namespace tickvane::device
