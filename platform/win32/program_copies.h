// The running copies of one installed program, for its uninstaller.
#pragma once

#include <string>

namespace tickvane::win32 {

// Ends every running process of `program` (a full path): first by asking its message loop
// to quit, so that no window is closed and none registers a next start on its way out;
// after `limitMs` by force. True when none runs any more.
bool end_running_copies(const std::wstring& program, unsigned limitMs);

}  // namespace tickvane::win32
