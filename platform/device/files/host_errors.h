// What a failed host file call means to a Windows program.
#pragma once

#include <filesystem>

#include "win32.h"

namespace tickvane::device {

// The Windows error for the errno of a failed read, write, seek or open.
DWORD win32_error_from_errno(int error);

// The same for an open of `path`, where a missing file and a missing folder differ.
DWORD win32_error_from_open(int error, const std::filesystem::path& path);

}  // namespace tickvane::device
