// Programs start one after another, as a handheld's shell starts them: a second
// start of the same program waits until the first has made its top-level window
// (so that its FindWindowW sees it) or has ended, or until `limit_ms` passes.
#pragma once

#include <string>

namespace tickvane::device {

void start_turn_take(const std::string& device_root, const std::string& executable, int limit_ms = 2000);
void start_turn_give();  // at the first top-level window; the end of the process gives it too

}  // namespace tickvane::device
