// Where a test harness may step in. Empty in the product: every seam defaults to
// what the device does on its own.
#pragma once

#include <functional>

#include "win32.h"

namespace tickvane::device {

struct Seams {
    std::function<void()> idle;  // called whenever the message loop has nothing to do
    // Sees every notification request that passes the argument checks, before it is
    // stored, and refuses it by returning false.
    std::function<bool(const SYSTEMTIME& start)> registration;
    bool start_service = true;      // a registration may start the resident service
    bool refuse_menu_bars = false;  // SHCreateMenuBar fails as when the shell has no room
};

Seams& seams();

}  // namespace tickvane::device
