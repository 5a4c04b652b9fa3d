// The face our device draws: the installed device clock run headless under faketime,
// its screenshot cut to the client area between title bar and soft-key bar.
#pragma once

#include <string>

#include "bmp_reader.h"

namespace tickvane::wine {

// The client area for the local time `pinned` ("YYYY-MM-DD hh:mm:ss", UTC) on a
// width x height screen; empty (0 x 0) with `why` set when the device showed none.
test::Image device_face(int width, int height, const std::string& pinned, std::string* why);

}  // namespace tickvane::wine
