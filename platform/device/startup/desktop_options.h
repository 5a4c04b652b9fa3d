// What the device tells its desktop window at the start: the zoom asked for, the place
// it had last time, the program's icon.
#pragma once

#include "display/display.h"

namespace tickvane::device {

display::DesktopOptions desktop_options();

}  // namespace tickvane::device
