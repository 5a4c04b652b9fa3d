// The device's notification database: <root>/.device/notifications.db, one row per
// registration. Each change commits durably before the call returns, and several
// processes may use it at once.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "notify/store_mending.h"

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
    // with `error` filled when it cannot be opened. With `create`, a store that is
    // not a sound database is set aside first (see store_mending.h).
    static std::unique_ptr<NotificationStore> open(const std::string& root, bool create, std::string& error);
    // Runs `use` on the opened store; when it fails on a store found unsound, sets
    // that one aside and runs `use` once more on the fresh one.
    template <class Use>
    static bool using_store(const std::string& root, std::string& error, Use use);
    ~NotificationStore();
    NotificationStore(const NotificationStore&) = delete;
    NotificationStore& operator=(const NotificationStore&) = delete;

    std::optional<int64_t> add(const std::string& due, const std::string& application, const std::string& arguments);
    // Every registration, earliest first (equal times in registration order).
    std::optional<std::vector<Registration>> all();
    // `removed`, when given, gets the ids that were still there (another process may
    // have removed some first).
    bool remove(const std::vector<int64_t>& ids, std::vector<int64_t>* removed = nullptr);
    // Whether a removal could be committed now (not a read-only file or folder).
    bool writable();

    const std::string& error() const { return error_; }
    // The last failure came from a file that is not a sound database.
    bool unsound() const { return unsound_; }

private:
    explicit NotificationStore(sqlite3* db) : db_(db) {}
    static std::unique_ptr<NotificationStore> open_as_is(const std::string& root, bool create, std::string& error,
                                                         bool& unsound);
    bool exec(const char* sql);
    bool fail(const char* what);
    void rollback();

    sqlite3* db_;
    std::string error_;
    bool unsound_ = false;
};

template <class Use>
bool NotificationStore::using_store(const std::string& root, std::string& error, Use use)
{
    for (int attempt = 0; attempt < 2; ++attempt) {
        auto store = open(root, true, error);
        if (!store)
            return false;
        if (use(*store))
            return true;
        error = store->error();
        bool mend = store->unsound();
        store.reset();
        if (!mend || !set_aside_store(root, error))
            return false;
    }
    return false;
}

}  // namespace tickvane::device::notify
