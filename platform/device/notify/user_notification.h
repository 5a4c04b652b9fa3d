// What CeSetUserNotificationEx keeps between calls.
#pragma once

namespace tickvane::device::notify {

struct NotificationLog {
    bool refusal_told = false;  // the first refusal in a process says why; repeats do not fill the log
};

}  // namespace tickvane::device::notify

namespace tickvane::device {
notify::NotificationLog& notification_log();
}
