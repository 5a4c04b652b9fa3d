// Writes the screen to a PNG file that readers only ever see whole.
#pragma once

#include <string>

#include "display.h"

namespace tickvane::display {

// Encodes `screen` as 8-bit RGB into a temporary file beside `path`, then renames it
// over `path`. On failure nothing is left behind, `path` keeps its previous content,
// and `why` says what went wrong.
bool write_png_atomically(const Pixels& screen, const std::string& path, std::string* why);

}  // namespace tickvane::display
