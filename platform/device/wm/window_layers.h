// The windows as the compositor stacks them: their surfaces, bottom first, and the
// title the title bar shows (the active window's).
#pragma once

#include <string>
#include <vector>

#include "compositor/compositor.h"

namespace tickvane::device {

// Valid until the next call.
const std::vector<Layer>& window_layers();
std::u16string active_window_title();

}  // namespace tickvane::device
