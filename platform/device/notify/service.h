// The device's resident notification service: at most one per device root.
#pragma once

#include <string>

namespace tickvane::device::notify {

// <root>/.device/service.lock: held for the service's lifetime, holds its pid.
std::string service_lock_path(const std::string& root);

// Runs the service for `root` in this process until SIGTERM, SIGINT or SIGHUP.
// Returns 0 at once (with a message) when another service holds the root.
int run_service(const std::string& root);

}  // namespace tickvane::device::notify
