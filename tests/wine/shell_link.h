// What a Windows shortcut (.lnk) starts: the target path its link information names
// ([MS-SHLLINK] 2.3), as Explorer and the Start menu resolve it.
#pragma once

#include <optional>
#include <string>

namespace tickvane::wine {

// Null when `bytes` is no shell link or names no local target.
std::optional<std::string> shortcut_target(const std::string& bytes);

}  // namespace tickvane::wine
