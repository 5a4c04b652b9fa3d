// PNG files of whole screens: the device's headless screenshots in, captures out.
#pragma once

#include <string>

#include "bmp_reader.h"

namespace tickvane::wine {

// The picture as 0x00RRGGBB pixels; empty (0 x 0) when the file is missing or unreadable.
test::Image read_png(const std::string& path);
bool write_png(const test::Image& image, const std::string& path);

}  // namespace tickvane::wine
