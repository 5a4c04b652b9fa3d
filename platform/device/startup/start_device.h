// Setting the device up for a program, and taking it down again: the one place that
// knows every part, so that the parts need not know each other.
#pragma once

#include "settings/device_settings.h"

namespace tickvane::device {

// Makes every part of the device, in the order that dropping them undoes.
void make_device();
// Drops the device (its windows, GDI objects, open files, timers) for a fresh one.
void replace_device();

void start_device(const Settings& settings);
void stop_device();

}  // namespace tickvane::device
