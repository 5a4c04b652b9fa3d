// How the service starts a registered program and collects it when it ends.
#pragma once

#include <string>

#include "notify/notification_store.h"

namespace tickvane::device::notify {

// Starts the registration's application (a device path under `root`, else in the
// installed image the service belongs to) with its arguments, if any, as the one
// argument. The program inherits the service's environment, in its own process
// group. False with `why` filled when it cannot be started.
bool launch_program(const std::string& root, const Registration& registration, std::string& why);

// Collects every child that has ended; the service is their parent for good. Returns
// how many it collected.
int reap_children();

}  // namespace tickvane::device::notify
