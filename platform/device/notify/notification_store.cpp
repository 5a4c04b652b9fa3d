#include "notify/notification_store.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include "notify/due_time.h"
#include "settings/private_folder.h"

namespace fs = std::filesystem;

namespace tickvane::device::notify {

namespace {

// Long enough for another process's commit (a few fsyncs), short enough that a
// stuck database refuses the request instead of hanging the caller.
constexpr int busy_timeout_ms = 5000;

constexpr const char* schema =
    "CREATE TABLE IF NOT EXISTS notifications ("
    " id INTEGER PRIMARY KEY AUTOINCREMENT,"
    " due TEXT NOT NULL,"
    " application TEXT NOT NULL,"
    " arguments TEXT NOT NULL);"
    "CREATE INDEX IF NOT EXISTS notifications_by_due ON notifications (due);";

struct Statement {
    sqlite3_stmt* s = nullptr;
    ~Statement() { sqlite3_finalize(s); }
};

std::string column_text(sqlite3_stmt* s, int column)
{
    const unsigned char* text = sqlite3_column_text(s, column);
    return text ? std::string((const char*)text, (size_t)sqlite3_column_bytes(s, column)) : std::string();
}

// The store and its companions are the user's alone: none is a link or another's, and
// the store is made 0600 before SQLite opens it, whose WAL and index files then take
// that mode. A store that is there but cannot be written is said so, not read.
bool private_store(const std::string& root, bool create, std::string& error)
{
    std::string db = database_path(root);
    for (const char* suffix : {"", "-wal", "-shm", "-journal"}) {
        error = private_file_problem(db + suffix);
        if (!error.empty())
            return false;
    }
    std::error_code ec;
    if (!create && !fs::exists(db, ec))
        return true;  // SQLite says it is missing
    int fd = open_private_file(db, O_RDWR | (create ? O_CREAT : 0));
    if (fd < 0) {
        error = db + ": cannot be written: " + std::strerror(errno);
        return false;
    }
    close(fd);
    return true;
}

}  // namespace

std::string device_folder(const std::string& root) { return (fs::path(root) / ".device").string(); }

std::string database_path(const std::string& root)
{
    return (fs::path(device_folder(root)) / "notifications.db").string();
}

std::unique_ptr<NotificationStore> NotificationStore::open(const std::string& root, bool create, std::string& error)
{
    bool unsound = false;
    auto store = open_as_is(root, create, error, unsound);
    if (store || !create || !unsound || !set_aside_store(root, error))
        return store;
    return open_as_is(root, create, error, unsound);
}

std::unique_ptr<NotificationStore> NotificationStore::open_as_is(const std::string& root, bool create,
                                                                 std::string& error, bool& unsound)
{
    error = prepare_device_folder(root, create);
    if (!error.empty())
        return nullptr;
    unsound = !store_is_a_file(root);
    if (unsound) {
        error = database_path(root) + ": not a file";
        return nullptr;
    }
    if (!private_store(root, create, error))
        return nullptr;
    sqlite3* db = nullptr;
    int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOFOLLOW | (create ? SQLITE_OPEN_CREATE : 0);
    if (sqlite3_open_v2(database_path(root).c_str(), &db, flags, nullptr) != SQLITE_OK) {
        error = database_path(root) + ": " + (db ? sqlite3_errmsg(db) : "out of memory");
        sqlite3_close(db);
        return nullptr;
    }
    std::unique_ptr<NotificationStore> store(new NotificationStore(db));
    sqlite3_busy_timeout(db, busy_timeout_ms);
    // The journal mode is kept in the file; switching needs every other connection
    // out of the way and, unlike other statements, does not wait for them.
    bool wal = false;
    for (int attempt = 0; attempt < 500 && !wal; ++attempt) {
        wal = store->exec("PRAGMA journal_mode=WAL");
        if (!wal && sqlite3_errcode(db) != SQLITE_BUSY)
            break;
        if (!wal)
            usleep(10000);
    }
    if (!wal || !store->exec("PRAGMA synchronous=FULL") || !store->exec(schema)) {
        error = database_path(root) + ": " + store->error();
        unsound = store->unsound();
        return nullptr;
    }
    return store;
}

NotificationStore::~NotificationStore() { sqlite3_close(db_); }

bool NotificationStore::exec(const char* sql)
{
    char* message = nullptr;
    if (sqlite3_exec(db_, sql, nullptr, nullptr, &message) == SQLITE_OK)
        return true;
    error_ = message ? message : sqlite3_errmsg(db_);
    unsound_ = is_unsound_code(sqlite3_errcode(db_));
    sqlite3_free(message);
    return false;
}

void NotificationStore::rollback()
{
    std::string why = error_;  // the reason the transaction is abandoned, not the rollback's
    bool unsound = unsound_;
    exec("ROLLBACK");
    error_ = why;
    unsound_ = unsound;
}

bool NotificationStore::fail(const char* what)
{
    error_ = std::string(what) + ": " + sqlite3_errmsg(db_);
    unsound_ = is_unsound_code(sqlite3_errcode(db_));
    return false;
}

std::optional<int64_t> NotificationStore::add(const std::string& due, const std::string& application,
                                              const std::string& arguments)
{
    Statement st;
    if (sqlite3_prepare_v2(db_, "INSERT INTO notifications (due, application, arguments) VALUES (?, ?, ?)", -1, &st.s,
                           nullptr) != SQLITE_OK) {
        fail("insert");
        return std::nullopt;
    }
    sqlite3_bind_text(st.s, 1, due.data(), (int)due.size(), SQLITE_TRANSIENT);
    sqlite3_bind_text(st.s, 2, application.data(), (int)application.size(), SQLITE_TRANSIENT);
    sqlite3_bind_text(st.s, 3, arguments.data(), (int)arguments.size(), SQLITE_TRANSIENT);
    if (sqlite3_step(st.s) != SQLITE_DONE) {
        fail("insert");
        return std::nullopt;
    }
    return sqlite3_last_insert_rowid(db_);
}

std::optional<std::vector<Registration>> NotificationStore::all()
{
    Statement st;
    if (sqlite3_prepare_v2(db_, "SELECT id, due, application, arguments FROM notifications ORDER BY due, id", -1, &st.s,
                           nullptr) != SQLITE_OK) {
        fail("select");
        return std::nullopt;
    }
    std::vector<Registration> rows;
    int rc;
    while ((rc = sqlite3_step(st.s)) == SQLITE_ROW)
        rows.push_back(
            {sqlite3_column_int64(st.s, 0), column_text(st.s, 1), column_text(st.s, 2), column_text(st.s, 3)});
    if (rc != SQLITE_DONE) {
        fail("select");
        return std::nullopt;
    }
    // The text sorts by time only while years have four digits.
    std::stable_sort(rows.begin(), rows.end(), [](const Registration& a, const Registration& b) {
        return due_key(a.due).value_or(0) < due_key(b.due).value_or(0);
    });
    return rows;
}

bool NotificationStore::writable()
{
    if (sqlite3_db_readonly(db_, "main") == 1) {
        error_ = "the file is read-only for this user";
        return false;
    }
    return exec("BEGIN IMMEDIATE") && exec("ROLLBACK");
}

bool NotificationStore::remove(const std::vector<int64_t>& ids, std::vector<int64_t>* removed)
{
    if (!exec("BEGIN IMMEDIATE"))
        return false;
    Statement st;
    if (sqlite3_prepare_v2(db_, "DELETE FROM notifications WHERE id = ?", -1, &st.s, nullptr) != SQLITE_OK) {
        fail("delete");
        rollback();
        return false;
    }
    for (int64_t id : ids) {
        sqlite3_bind_int64(st.s, 1, id);
        if (sqlite3_step(st.s) != SQLITE_DONE) {
            fail("delete");
            rollback();
            return false;
        }
        if (removed != nullptr && sqlite3_changes(db_) > 0)
            removed->push_back(id);
        sqlite3_reset(st.s);
    }
    if (exec("COMMIT"))
        return true;
    if (removed != nullptr)
        removed->clear();
    return false;
}

}  // namespace tickvane::device::notify
