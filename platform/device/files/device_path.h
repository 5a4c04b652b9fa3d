// Device paths: the handheld has one file tree, no drive letters and no current
// folder, so "\Program Files\Tickvane\zubo.exe" and "Program Files\Tickvane\zubo.exe"
// both name a file from the root. The root is a host folder.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace tickvane::device {

// The host path of a device path under `root`. Each existing component is matched
// case-insensitively, as the handheld's file system does; components that do not
// exist yet are taken as written. Empty when the path is empty, would leave the
// root (".."), or holds a character no file name may hold.
std::optional<std::filesystem::path> host_path(const std::string& root, std::u16string_view device_path);

// host_path with every link on the way resolved, when the result stays inside the
// root (the clock started from the build folder reaches itself through a link
// there); empty when a link leads out. Open it without following a last link.
std::optional<std::filesystem::path> contained_host_path(const std::string& root, std::u16string_view device_path);

}  // namespace tickvane::device
