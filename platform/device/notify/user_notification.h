// What tests may change about CeSetUserNotificationEx beyond its arguments.
#pragma once

#include <functional>

#include "win32.h"

namespace tickvane::device::notify {

struct NotificationSeams {
    std::function<bool(const SYSTEMTIME& start)> hook;
    bool service_autostart = true;
    bool refusal_told = false;  // the first refusal in a process says why; repeats do not fill the log
};

// Asked for every request that passes the argument checks, before it is stored;
// false refuses it. Empty: every such request is stored.
void set_registration_hook(std::function<bool(const SYSTEMTIME& start)> hook);

// Whether a registration may start the resident service when none runs (on for
// programs, off in the in-process tests unless they ask).
void set_service_autostart(bool on);

}  // namespace tickvane::device::notify

namespace tickvane::device {
notify::NotificationSeams& notification_seams();
}
