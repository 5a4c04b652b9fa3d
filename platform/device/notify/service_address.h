// How a registering process reaches the device's resident service: a unix datagram
// socket inside the tree's private <root>/.device, so that each tree has its own
// service and no other user can take its address.
#pragma once

#include <sys/types.h>

#include <optional>
#include <string>

namespace tickvane::device::notify {

// 16 hex digits of a hash of the canonical root: what names a root's service files.
std::string root_tag(const std::string& root);

// <root>/.device/service.sock
std::string service_socket_path(const std::string& root);

// Tells the service of `root` to read the database again. False when no service
// listens.
bool wake_service(const std::string& root);

// Asks the service of `root` who it is: its pid, when one answers within `wait_ms`.
std::optional<pid_t> ask_service(const std::string& root, int wait_ms = 1000);

// The service's end: a non-blocking socket bound to the root's address, or -1 with
// errno set. Only the holder of the service lock calls it: a socket file left by a
// service that died is replaced.
int bind_service_socket(const std::string& root);

// Takes one datagram off the service's socket, answering a question to its sender:
// 1 for a wake-up, 0 for anything else, -1 when none was waiting.
int answer_datagram(int socket);

}  // namespace tickvane::device::notify
