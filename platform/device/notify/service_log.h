// <root>/.device/service.log: what a service started on demand, and the programs it
// starts, have to say. Kept to about a megabyte, with one older file beside it.
#pragma once

#include <string>

namespace tickvane::device::notify {

std::string service_log_path(const std::string& root);

// `line` (no newline) on stderr, and in the service log when stderr is not that log.
void say(const std::string& root, const std::string& line);

// When stderr is the root's service log and it has reached `limit` bytes, renames
// it to service.log.1 (replacing the older one) and continues in a fresh file on
// stdout and stderr.
void rotate_service_log(const std::string& root, long limit = 1024 * 1024);

}  // namespace tickvane::device::notify
