// Looking at and ending a device's resident service from another process.
#pragma once

#include <sys/types.h>

#include <optional>
#include <string>

namespace tickvane::device::notify {

// The pid of the service that serves `root`, when one listens. Looks without taking
// the service's lock, so a service starting at that moment is not turned away.
std::optional<pid_t> running_service(const std::string& root);

// Asks the service of `root` to end (SIGTERM) and waits up to `wait_ms` for it to go.
// 0 when it ended, 1 (with a message) when none answered or it could not be ended.
int stop_service(const std::string& root, int wait_ms = 5000);

}  // namespace tickvane::device::notify
