#include "notify/registration.h"

#include "codepage/unicode.h"
#include "files/device_path.h"
#include "notify/notification_store.h"
#include "notify/service_address.h"
#include "notify/service_starter.h"
#include "notify/trusted_program.h"

namespace tickvane::device::notify {

std::optional<int64_t> register_request(const std::string& root, const std::string& image, const Request& request,
                                        bool may_start_service, std::string& why)
{
    // Refused now, while someone hears why, rather than skipped when it falls due.
    auto program = readable_path(root, image, utf16_from_utf8(request.application));
    std::filesystem::path resolved;
    why = program ? untrusted(*program, trusted_tops(root, image), resolved)
                  : "'" + request.application + "' is no device path";
    if (!why.empty()) {
        why = "the service starts only the user's own programs in the device tree or the installed ones: " + why;
        return std::nullopt;
    }
    std::optional<int64_t> id;
    NotificationStore::using_store(root, why, [&](NotificationStore& store) {
        id = store.add(request.due, request.application, request.arguments);
        return id.has_value();
    });
    if (!id) {
        why = "the database cannot be written: " + why;
        return std::nullopt;
    }
    // After the commit: a service that binds its socket later reads the row at start.
    if (!wake_service(root) && may_start_service)
        start_service(root);
    return id;
}

}  // namespace tickvane::device::notify
