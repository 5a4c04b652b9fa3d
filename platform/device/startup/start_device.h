// Setting the device up for a program, and taking it down again: the one place that
// knows every part, so that the parts need not know each other.
#pragma once

#include "device_settings.h"

namespace tickvane::device {

void start_device(const Settings& settings);
void stop_device();

}  // namespace tickvane::device
