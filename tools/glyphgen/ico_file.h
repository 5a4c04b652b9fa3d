// Windows .ico files: an ICONDIR, one ICONDIRENTRY per image, then each image as a DIB whose stored
// height is doubled to make room for the AND mask that follows its colour rows.
#pragma once

#include "app_icon.h"

#include <cstdint>
#include <vector>

namespace tickvane::glyphgen {

std::vector<std::uint8_t> EncodeIco(const std::vector<IconImage>& images);

}  // namespace tickvane::glyphgen
