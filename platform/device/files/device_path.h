// Device paths: the handheld has one file tree, no drive letters and no current
// folder, so "\Program Files\Tickvane\zubo.exe" and "Program Files\Tickvane\zubo.exe"
// both name a file from the root. The root is a host folder.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tickvane::device {

// The host path of a device path under `root`. Each existing component is matched
// case-insensitively, as the handheld's file system does; components that do not
// exist yet are taken as written. Empty when the path is empty, would leave the
// root (".."), or holds a character no file name may hold.
std::optional<std::filesystem::path> host_path(const std::string& root, std::u16string_view device_path);

// `host` with every link on the way resolved, when the result stays inside one of
// `tops` (the clock started from the build folder reaches itself through a link there);
// empty when a link leads out. Open it without following a last link.
std::optional<std::filesystem::path> contained_path(const std::filesystem::path& host,
                                                    const std::vector<std::string>& tops);

// The device's file system as the user's tree (`root`) over a read-only image of the
// installed files (`image`, may be empty; see files/device_image.h).
// A read finds the user's file, else the image's, else names the user's (missing) one.
std::optional<std::filesystem::path> readable_path(const std::string& root, const std::string& image,
                                                   std::u16string_view device_path);
// A write always goes to the user's tree: folders the image holds on the way are made
// there, and a file only the image holds is copied there first, so that opening it
// for writing keeps what it held.
std::optional<std::filesystem::path> writable_path(const std::string& root, const std::string& image,
                                                   std::u16string_view device_path);

}  // namespace tickvane::device
