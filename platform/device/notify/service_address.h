// How a registering process reaches the device's resident service: an abstract unix
// datagram socket named after the device root, so each root has its own service.
#pragma once

#include <string>

namespace tickvane::device::notify {

// 16 hex digits of a hash of the canonical root: what names a root's service.
std::string root_tag(const std::string& root);

// "\0tickvane-notify-" + root_tag(root).
std::string service_socket_name(const std::string& root);

// Tells the service of `root` to read the database again. False when no service
// listens.
bool wake_service(const std::string& root);

// The service's end: a non-blocking socket bound to the root's name, or -1 with
// errno set (EADDRINUSE while another process holds the name).
int bind_service_socket(const std::string& root);

}  // namespace tickvane::device::notify
