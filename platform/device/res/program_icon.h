// The program's icon as the handheld's shell shows it: the images of its first icon
// group, read from its resources.
#pragma once

#include <cstdint>
#include <vector>

#include "win32.h"

namespace tickvane::device {

// For each size in the first icon group (the one that comes first in a resource
// directory: names before numbers, in order), its image with the most colours, as
// width, height and width * height 0xAARRGGBB pixels (rows from the top, the mask's
// transparent pixels 0). Empty when the module has no usable icon group.
std::vector<uint32_t> program_icon_pixels(HMODULE module);

}  // namespace tickvane::device
