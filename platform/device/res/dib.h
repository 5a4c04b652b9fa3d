// A bitmap resource (a DIB without its file header) viewed as a device bitmap.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "screen/surface.h"

namespace tickvane::device {

// The pixels stay where they are (the bitmap borrows them); null on any header or
// size that does not add up.
std::optional<Surface> bitmap_from_dib(const uint8_t* data, size_t size);

}  // namespace tickvane::device
