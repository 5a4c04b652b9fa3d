// The settings this process's device was started with.
#include "settings/device_settings.h"

#include "parts/part.h"

namespace tickvane::device {

namespace {

constinit parts::PartOf<Settings> g_settings;

}  // namespace

const Settings& device_settings() { return g_settings.get(); }

void set_device_settings(const Settings& settings) { g_settings.get() = settings; }

}  // namespace tickvane::device
