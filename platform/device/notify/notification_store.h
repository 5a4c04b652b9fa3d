// The device's notification database: <root>/.device/notifications.db, one row per
// registration. Each change commits durably before the call returns, and several
// processes may use it at once.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

struct sqlite3;

namespace tickvane::device::notify {

struct Registration {
    int64_t id = 0;
    std::string due;  // local time, "YYYY-MM-DD HH:MM:SS"
    std::string application;
    std::string arguments;
};

std::string device_folder(const std::string& root);  // <root>/.device
std::string database_path(const std::string& root);

class NotificationStore {
public:
    // Opens the database, creating it (and its folder) when `create` is set. Null
    // with `error` filled when it cannot be opened.
    static std::unique_ptr<NotificationStore> open(const std::string& root, bool create, std::string& error);
    ~NotificationStore();
    NotificationStore(const NotificationStore&) = delete;
    NotificationStore& operator=(const NotificationStore&) = delete;

    std::optional<int64_t> add(const std::string& due, const std::string& application,
                               const std::string& arguments);
    // Every registration, earliest first (equal times in registration order).
    std::optional<std::vector<Registration>> all();
    bool remove(const std::vector<int64_t>& ids);

    const std::string& error() const { return error_; }

private:
    explicit NotificationStore(sqlite3* db) : db_(db) {}
    bool exec(const char* sql);
    bool fail(const char* what);
    void rollback();

    sqlite3* db_;
    std::string error_;
};

}  // namespace tickvane::device::notify
