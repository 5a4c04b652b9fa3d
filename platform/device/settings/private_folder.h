// <root>/.device holds what the device keeps for its user (registrations, locks,
// kept state, logs) and what the service trusts: like ~/.ssh, it is private to that
// user, 0700 with its files 0600 whatever the umask, and anything else is refused.
#pragma once

#include <string>

namespace tickvane::device {

// Checks <root>/.device, making it (0700) when `create` is set and it is missing.
// It is made only in a device tree: a folder holding "Program Files", or the
// per-user root, which is laid out here with its parents. Empty when the folder can
// be used (or, without `create`, is absent); else one line naming the path and the fix.
std::string prepare_device_folder(const std::string& root, bool create);

// Why a file of the device folder may not be used: a link, not a regular file, not
// the user's, or writable by others. Empty when it is fine or absent.
std::string private_file_problem(const std::string& path);

// Opens a file of the device folder, making it 0600 when O_CREAT is in `flags`;
// never through a link. -1 with errno set.
int open_private_file(const std::string& path, int flags);

}  // namespace tickvane::device
