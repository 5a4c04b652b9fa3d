// What the service may start: a program it can trust to be the user's own. The
// service starts what a row names, at a time nobody watches, possibly as root: a
// link to /bin/sh or to another user's script must not pass.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace tickvane::device::notify {

// The folders a started program may lie in: the device tree, and the read-only image
// of the installed files when there is one (empty otherwise).
std::vector<std::filesystem::path> trusted_tops(const std::string& root, const std::string& image);

// Why `program` may not be started, or empty when it may: after following links it
// must be a regular file inside one of `tops`, and it and each folder from it up to
// that top must belong to this user or root and be writable by nobody else.
// `resolved` gets the file that would run.
std::string untrusted(const std::filesystem::path& program, const std::vector<std::filesystem::path>& tops,
                      std::filesystem::path& resolved);

}  // namespace tickvane::device::notify
