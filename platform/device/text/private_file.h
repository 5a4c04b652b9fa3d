// What text keeps in the device's private folder (the remembered font, the first
// frame's glyphs) is written the way the rest of that folder is: 0600 whatever the
// umask, never through a link, and replaced whole so a reader sees old or new.
#pragma once

#include <string>

namespace tickvane::text {

// False when the file could not be written; the old one then stays.
bool replace_private_file(const std::string& path, const std::string& bytes);

}  // namespace tickvane::text
