// CeSetUserNotificationEx: the program registers a start of an application at a local
// time; the device stores it and its resident service starts the application then.
#include "notify/user_notification.h"

#include <unistd.h>

#include <filesystem>
#include <string>

#include "codepage/unicode.h"
#include "files/device_path.h"
#include "notify/due_time.h"
#include "notify/registration.h"
#include "parts/part.h"
#include "seams/seams.h"
#include "settings/settings.h"
#include "time/time_arithmetic.h"
#include "warn_once.h"

namespace tickvane::device::notify {

namespace {

// A program started outside a device tree looks for itself under a root where
// nobody laid one out: the remedy is the install command.
std::string install_remedy(const std::string& root)
{
    return "lay out the device tree with: " + install_command(root) + " (or set TICKVANE_DEVICE_ROOT to a device tree)";
}

// Why the application cannot be started under the root, or empty when it can.
std::string unrunnable(const std::string& root, const WCHAR* application)
{
    if (application == nullptr || application[0] == 0)
        return "no application named";
    std::error_code ec;
    if (!std::filesystem::is_directory(root, ec))
        return "the device root " + root + " is not a folder" + (ec ? " (" + ec.message() + ")" : std::string()) +
               "; set TICKVANE_DEVICE_ROOT to a device tree";
    auto path = readable_path(root, device_settings().image, application);
    if (!path)
        return "'" + utf8_from_utf16(application) + "' is no path under the device root " + root;
    if (!std::filesystem::is_regular_file(*path, ec) || access(path->c_str(), X_OK) != 0)
        return "no runnable program at " + path->string() + "; " + install_remedy(root);
    return {};
}

// Why the device refuses the request, or empty when it takes it.
std::string refusal(HANDLE existing, const CE_NOTIFICATION_TRIGGER* trigger)
{
    // Only new registrations: a handle names one to update, which the device's
    // callers never ask for.
    if (existing != nullptr || trigger == nullptr || trigger->dwSize != sizeof(CE_NOTIFICATION_TRIGGER) ||
        trigger->dwType != CNT_TIME)
        return "only a timed start of a new registration is supported";
    if (!valid_system_time(trigger->stStartTime))
        return "the start time " + due_text(trigger->stStartTime) + " is not a valid local time";
    return unrunnable(device_settings().root, trigger->lpszApplication);
}

bool& refusal_told() { return notification_log().refusal_told; }

void tell_refusal(const std::string& why)
{
    if (!refusal_told())
        warn_once("tickvane: notification refused: %s", why.c_str());
    refusal_told() = true;
}

}  // namespace

}  // namespace tickvane::device::notify

namespace tickvane::device {

namespace {

constinit parts::PartOf<notify::NotificationLog> g_notifications;

}  // namespace

notify::NotificationLog& notification_log() { return g_notifications.get(); }

}  // namespace tickvane::device

using namespace tickvane::device;

// The user-notification record (a dialog or sound to go with the start) is not
// supported and is ignored. A start time skipped by a daylight-saving change is
// accepted: the application starts at the first instant after the skip.
HANDLE WINAPI CeSetUserNotificationEx(HANDLE notification, CE_NOTIFICATION_TRIGGER* trigger,
                                      CE_USER_NOTIFICATION* /*userNotification*/)
{
    std::string why = notify::refusal(notification, trigger);
    if (!why.empty()) {
        notify::tell_refusal(why);
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (seams().registration && !seams().registration(trigger->stStartTime))
        return nullptr;
    notify::Request request{notify::due_text(trigger->stStartTime), utf8_from_utf16(trigger->lpszApplication),
                            trigger->lpszArguments ? utf8_from_utf16(trigger->lpszArguments) : std::string()};
    auto id = notify::register_request(device_settings().root, device_settings().image, request, seams().start_service,
                                       why);
    if (!id) {
        notify::tell_refusal(why);
        return nullptr;
    }
    return (HANDLE)(uintptr_t)*id;
}
