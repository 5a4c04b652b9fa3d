#include "notify/registration.h"

#include <cstdio>

#include "notify/notification_store.h"
#include "notify/service_address.h"
#include "notify/service_starter.h"

namespace tickvane::device::notify {

std::optional<int64_t> register_request(const std::string& root, const Request& request, bool may_start_service)
{
    std::string error;
    std::optional<int64_t> id;
    if (auto store = NotificationStore::open(root, true, error)) {
        id = store->add(request.due, request.application, request.arguments);
        error = store->error();
    }
    if (!id) {
        std::fprintf(stderr, "tickvane: notification refused, the database cannot be written: %s\n", error.c_str());
        return std::nullopt;
    }
    // After the commit: a service that binds its socket later reads the row at start.
    if (!wake_service(root) && may_start_service)
        start_service(root);
    return id;
}

}  // namespace tickvane::device::notify
