// The device's read-only image: the files a package installs (the clock, the
// service), which every user's own device tree lies over, as a handheld's RAM file
// system lies over its ROM. A checkout's tree or build folder has none: it holds
// its programs itself.
#pragma once

#include <string>

namespace tickvane::device {

// The image the program at `executable` was installed into: the nearest folder above
// it holding "Program Files", when that folder lies under /usr or this user may not
// write it. Empty otherwise.
std::string installed_image(const std::string& executable);

// The image of the running program (/proc/self/exe), found once.
const std::string& own_image();

}  // namespace tickvane::device
