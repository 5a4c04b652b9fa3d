// CeSetUserNotificationEx: the program registers a start of an application at a local
// time; the device stores it and its resident service starts the application then.
#include "notify/user_notification.h"

#include <unistd.h>

#include <filesystem>
#include <string>

#include "files/device_path.h"
#include "notify/due_time.h"
#include "notify/registration.h"
#include "state.h"
#include "time_arithmetic.h"
#include "unicode.h"

namespace tickvane::device::notify {

namespace {

std::function<bool(const SYSTEMTIME&)>& registration_hook()
{
    static std::function<bool(const SYSTEMTIME&)> hook;
    return hook;
}

bool& service_autostart()
{
    static bool on = true;
    return on;
}

bool runnable_under_root(const std::string& root, const WCHAR* application)
{
    if (application == nullptr || application[0] == 0)
        return false;
    auto path = host_path(root, application);
    std::error_code ec;
    return path && std::filesystem::is_regular_file(*path, ec) && access(path->c_str(), X_OK) == 0;
}

bool acceptable(HANDLE existing, const CE_NOTIFICATION_TRIGGER* trigger)
{
    // Only new registrations: a handle names one to update, which the device's
    // callers never ask for.
    return existing == nullptr && trigger != nullptr && trigger->dwSize == sizeof(CE_NOTIFICATION_TRIGGER) &&
           trigger->dwType == CNT_TIME && valid_system_time(trigger->stStartTime) &&
           runnable_under_root(state().settings.root, trigger->lpszApplication);
}

}  // namespace

void set_registration_hook(std::function<bool(const SYSTEMTIME& start)> hook) { registration_hook() = std::move(hook); }

void set_service_autostart(bool on) { service_autostart() = on; }

}  // namespace tickvane::device::notify

using namespace tickvane::device;

// The user-notification record (a dialog or sound to go with the start) is not
// supported and is ignored. A start time skipped by a daylight-saving change is
// accepted: the application starts at the first instant after the skip.
HANDLE WINAPI CeSetUserNotificationEx(HANDLE notification, CE_NOTIFICATION_TRIGGER* trigger,
                                      CE_USER_NOTIFICATION* /*userNotification*/)
{
    if (!notify::acceptable(notification, trigger)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (notify::registration_hook() && !notify::registration_hook()(trigger->stStartTime))
        return nullptr;
    notify::Request request{notify::due_text(trigger->stStartTime), utf8_from_utf16(trigger->lpszApplication),
                            trigger->lpszArguments ? utf8_from_utf16(trigger->lpszArguments) : std::string()};
    auto id = notify::register_request(state().settings.root, request, notify::service_autostart());
    if (!id)
        return nullptr;
    return (HANDLE)(uintptr_t)*id;
}
