// Starting the device's resident service from a registering process, detached from
// it: the service outlives the program that registered.
#pragma once

#include <optional>
#include <string>

namespace tickvane::device::notify {

// <root>/Windows/tickvane-device where an installation put it (into the tree, or into
// the image the running program belongs to), else the one beside the running
// executable (the top of a build tree).
std::optional<std::string> find_service_executable(const std::string& root);

// Starts `tickvane-device --root <root> service` in its own session, its output
// appended to <root>/.device/service.log. False (with a line on stderr) when there
// is no service executable or no process could be made.
bool start_service(const std::string& root);

}  // namespace tickvane::device::notify
