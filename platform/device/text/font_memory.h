// The font the device found last time, kept in a small file so that later starts
// skip fontconfig (about 5 ms and 1 MB of start-up). Only the preferred family is
// remembered, so installing it later is still noticed.
#pragma once

#include <optional>
#include <string>

#include "text/font_locator.h"

namespace tickvane::text {

std::optional<FontFile> recall_font(const std::string& memory_file);
void remember_font(const std::string& memory_file, const FontFile& font);

}  // namespace tickvane::text
