// xdotool, as the end-to-end tests use it on their private X server.
#pragma once

#include <chrono>
#include <string>
#include <vector>

namespace tickvane::e2e {

// The windows whose title matches `title_regex`; with `wait`, waits up to `limit`
// for one to appear.
std::vector<unsigned long> windows_named(const std::string& display, const std::string& title_regex, bool wait,
                                         std::chrono::milliseconds limit);
// Runs `xdotool <args>`; empty on success, else what went wrong.
std::string xdotool(const std::string& display, const std::vector<std::string>& args);

}  // namespace tickvane::e2e
