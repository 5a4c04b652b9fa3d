// Registering a program start: stored first, then the resident service is told.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace tickvane::device::notify {

struct Request {
    std::string due;  // local time, "YYYY-MM-DD HH:MM:SS"
    std::string application;
    std::string arguments;
};

// Stores the request (for a program in the root's tree or the installed `image` under
// it, which may be empty) and wakes the root's service, starting one when none runs and
// `may_start_service` is set. The registration's id, or empty when it could not be
// stored (`why` then says why). A service that cannot be started leaves the
// registration stored for the next service to start it.
std::optional<int64_t> register_request(const std::string& root, const std::string& image, const Request& request,
                                        bool may_start_service, std::string& why);

}  // namespace tickvane::device::notify
