// A window manager on a test's private X server, for tests that need what one does:
// real focus changes, activation requests, placement of a window that asks for a place.
#pragma once

#include <memory>
#include <string>

#include "bounded_process.h"

namespace tickvane::e2e {

// openbox, once it manages the screen; null with `why_not` set otherwise.
std::unique_ptr<Child> start_window_manager(const std::string& display, std::string* why_not);

}  // namespace tickvane::e2e
