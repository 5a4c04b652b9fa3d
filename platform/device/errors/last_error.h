// Error codes the device reports that the clock itself never names, so win32.h
// leaves them out. GetLastError/SetLastError are the Win32 names in last_error.cpp.
#pragma once

#include "win32.h"

namespace tickvane::device {

inline constexpr DWORD error_too_many_open_files = 4;       // ERROR_TOO_MANY_OPEN_FILES
inline constexpr DWORD error_gen_failure = 31;              // ERROR_GEN_FAILURE: the disk failed
inline constexpr DWORD error_invalid_flags = 1004;          // ERROR_INVALID_FLAGS
inline constexpr DWORD error_invalid_window_handle = 1400;  // ERROR_INVALID_WINDOW_HANDLE
inline constexpr DWORD error_invalid_index = 1413;          // ERROR_INVALID_INDEX

}  // namespace tickvane::device
