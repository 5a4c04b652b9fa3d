// What tests may see of registrations: a hook before they are stored, and the store.
#include <filesystem>
#include <stdexcept>

#include "notify/notification_store.h"
#include "notify/user_notification.h"
#include "seams/seams.h"
#include "testing.h"

namespace tickvane::device::testing {

void on_registration(std::function<bool(const SYSTEMTIME& start)> hook) { seams().registration = std::move(hook); }

std::vector<Pending> pending()
{
    std::vector<Pending> rows;
    std::error_code ec;
    if (!std::filesystem::exists(notify::database_path(root()), ec))
        return rows;
    std::string error;
    auto store = notify::NotificationStore::open(root(), false, error);
    auto stored = store ? store->all() : std::nullopt;
    if (!stored)
        throw std::runtime_error("cannot read the notification database: " + (store ? store->error() : error));
    for (notify::Registration& r : *stored)
        rows.push_back({std::move(r.due), std::move(r.application), std::move(r.arguments)});
    return rows;
}

}  // namespace tickvane::device::testing
