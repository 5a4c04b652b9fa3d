// The device's resident notification service: at most one per device root.
#pragma once

#include <string>

namespace tickvane::device::notify {

// <root>/.device/service.lock: held for the service's lifetime, holds its pid.
std::string service_lock_path(const std::string& root);

// Runs the service for `root` in this process until SIGTERM, SIGINT or SIGHUP.
// Returns 0 at once (with a message) when another service holds the root.
// With a `first_program` (a device path), starts it at once and ends, with 0, once
// nothing is pending and nothing it started still runs: a cycle that a run command
// waits for without asking the service anything. Then another service holding the
// root returns 3, not 0.
int run_service(const std::string& root, const std::string& first_program = "");

}  // namespace tickvane::device::notify
