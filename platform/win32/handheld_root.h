// The handheld's file tree on the desktop. The clock names its files from the root of
// the handheld ("\Program Files\Tickvane\..."); on Windows that root is a folder of the
// user's own, so a standard user can write there whatever the current drive or working
// folder, and wherever the program itself was installed.
#pragma once

#include <optional>
#include <string>

#include "win32.h"

namespace tickvane::win32 {

// %LOCALAPPDATA%\Tickvane, the program's own folder of the user's; empty when the user
// has no local application data.
std::wstring program_data_folder();

// %LOCALAPPDATA%\Tickvane\Handheld; empty when the user has no local application data.
std::wstring handheld_root();

// Whether `path` is named from the root of a handheld: "\x" or "/x", not "\\server" or "C:\x".
bool is_handheld_path(const wchar_t* path);

// A handheld path inside the handheld root; none for a path that is not a handheld path,
// or that leaves the root through "..".
std::optional<std::wstring> desktop_path(const wchar_t* handheld_path);

// The running program's own file, drive included.
std::wstring running_program();

// Whether two paths end in the same file name, as Windows compares names (case aside).
bool same_file_name(const std::wstring& a, const std::wstring& b);

// The program a handheld path names for a start: the handheld's programs are the installed
// ones, so a path ending in the running program's own file name is this very copy. Other
// handheld paths are taken from the handheld root; anything else stays as it is.
std::wstring program_to_start(const wchar_t* path);

}  // namespace tickvane::win32
