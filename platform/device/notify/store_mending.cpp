#include "notify/store_mending.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <sys/file.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <map>

#include "notify/notification_store.h"
#include "notify/service_log.h"
#include "settings/private_folder.h"

namespace fs = std::filesystem;

namespace tickvane::device::notify {

namespace {

// Every SQLite file of a database: the WAL holds committed rows, the index is its
// scratch map; both go with the database they belong to.
constexpr const char* companions[] = {"-wal", "-shm", "-journal"};

struct Lock {
    int fd = -1;
    explicit Lock(const std::string& path)
    {
        fd = open_private_file(path, O_RDWR | O_CREAT);
        while (fd >= 0 && flock(fd, LOCK_EX) != 0 && errno == EINTR) {
        }
    }
    ~Lock()
    {
        if (fd >= 0)
            close(fd);
    }
};

// SQLite's check reports on several lines; the message about it is one.
std::string one_line(const std::string& report)
{
    std::string line;
    for (char c : report.substr(report.rfind("***") == std::string::npos ? 0 : report.rfind("***") + 3))
        if (!std::isspace((unsigned char)c) || (!line.empty() && line.back() != ' '))
            line += std::isspace((unsigned char)c) ? ' ' : c;
    while (!line.empty() && line.back() == ' ')
        line.pop_back();
    return line.size() > 160 ? line.substr(0, 160) + "..." : line;
}

// Why the store cannot be used, or empty when it is sound (or absent, or merely busy).
std::string unsoundness(const std::string& root)
{
    if (!store_is_a_file(root))
        return "not a file";
    std::error_code ec;
    if (!fs::exists(database_path(root), ec))
        return {};
    sqlite3* db = nullptr;
    std::string why;
    if (sqlite3_open_v2(database_path(root).c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK) {
        sqlite3_busy_timeout(db, 5000);
        sqlite3_stmt* st = nullptr;
        int rc = sqlite3_prepare_v2(db, "PRAGMA quick_check", -1, &st, nullptr);
        if (rc == SQLITE_OK)
            rc = sqlite3_step(st);
        if (rc == SQLITE_ROW && std::strcmp((const char*)sqlite3_column_text(st, 0), "ok") != 0)
            why = one_line((const char*)sqlite3_column_text(st, 0));
        else if (rc != SQLITE_ROW && is_unsound_code(rc))
            why = sqlite3_errmsg(db);
        sqlite3_finalize(st);
    }
    sqlite3_close(db);
    return why;
}

// Reads forward, then backward from the end, so that rows on either side of a
// damaged page both survive.
std::map<int64_t, Registration> readable_rows(const std::string& path)
{
    std::map<int64_t, Registration> rows;
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        for (const char* order : {"ASC", "DESC"}) {
            std::string sql = std::string("SELECT id, due, application, arguments FROM notifications ORDER BY id ") +
                              order;
            sqlite3_stmt* st = nullptr;
            if (sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) == SQLITE_OK)
                while (sqlite3_step(st) == SQLITE_ROW) {
                    auto text = [&](int c) {
                        const unsigned char* t = sqlite3_column_text(st, c);
                        return t ? std::string((const char*)t, (size_t)sqlite3_column_bytes(st, c)) : std::string();
                    };
                    int64_t id = sqlite3_column_int64(st, 0);
                    rows[id] = {id, text(1), text(2), text(3)};
                }
            sqlite3_finalize(st);
        }
    }
    sqlite3_close(db);
    return rows;
}

// A fresh store at `path` holding `rows` with their ids (handles already given out).
bool build_store(const std::string& path, const std::map<int64_t, Registration>& rows, std::string& error)
{
    std::error_code ec;
    for (const char* suffix : {"", "-wal", "-shm", "-journal"})
        fs::remove(path + suffix, ec);  // a half-built one of a mending that died
    int made = open_private_file(path, O_RDWR | O_CREAT | O_EXCL);
    if (made >= 0)
        close(made);
    sqlite3* db = nullptr;
    bool ok = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) == SQLITE_OK &&
              sqlite3_exec(db,
                           "CREATE TABLE notifications (id INTEGER PRIMARY KEY AUTOINCREMENT, due TEXT NOT NULL,"
                           " application TEXT NOT NULL, arguments TEXT NOT NULL);"
                           "CREATE INDEX notifications_by_due ON notifications (due); BEGIN",
                           nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_stmt* st = nullptr;
    ok = ok && sqlite3_prepare_v2(db, "INSERT INTO notifications VALUES (?, ?, ?, ?)", -1, &st, nullptr) == SQLITE_OK;
    for (auto it = rows.begin(); ok && it != rows.end(); ++it) {
        const Registration& r = it->second;
        sqlite3_bind_int64(st, 1, r.id);
        sqlite3_bind_text(st, 2, r.due.data(), (int)r.due.size(), SQLITE_TRANSIENT);
        sqlite3_bind_text(st, 3, r.application.data(), (int)r.application.size(), SQLITE_TRANSIENT);
        sqlite3_bind_text(st, 4, r.arguments.data(), (int)r.arguments.size(), SQLITE_TRANSIENT);
        ok = sqlite3_step(st) == SQLITE_DONE && sqlite3_reset(st) == SQLITE_OK;
    }
    sqlite3_finalize(st);
    ok = ok && sqlite3_exec(db, "COMMIT; PRAGMA journal_mode=WAL", nullptr, nullptr, nullptr) == SQLITE_OK;
    if (!ok)
        error = path + ": " + (db ? sqlite3_errmsg(db) : "out of memory");
    sqlite3_close(db);  // the last connection: the WAL is folded in and removed
    return ok;
}

std::string kept_name(const std::string& root)
{
    char stamp[32];
    time_t now = time(nullptr);
    tm utc{};
    gmtime_r(&now, &utc);
    std::strftime(stamp, sizeof stamp, "%Y%m%dT%H%M%SZ", &utc);
    fs::path folder = device_folder(root);
    std::string name = (folder / ("notifications-" + std::string(stamp) + ".db")).string();
    std::error_code ec;
    for (int n = 2; fs::exists(fs::symlink_status(name, ec)); ++n)
        name = (folder / ("notifications-" + std::string(stamp) + "-" + std::to_string(n) + ".db")).string();
    return name;
}

// The bad store goes to `kept` and the fresh one takes its place. A file is first
// linked to its new name, so that at no moment is there neither.
bool swap_in(const std::string& db, const std::string& kept, const std::string& fresh, std::string& error)
{
    std::error_code ec;
    bool file = fs::is_regular_file(fs::symlink_status(db, ec));
    for (const char* suffix : companions)
        if (fs::exists(fs::symlink_status(db + suffix, ec)) &&
            rename((db + suffix).c_str(), (kept + suffix).c_str()) != 0)
            return error = db + suffix + ": " + std::strerror(errno), false;
    if ((file ? link(db.c_str(), kept.c_str()) : rename(db.c_str(), kept.c_str())) != 0)
        return error = db + ": cannot keep it as " + kept + ": " + std::strerror(errno), false;
    if (rename(fresh.c_str(), db.c_str()) != 0)
        return error = db + ": " + std::strerror(errno), false;
    return true;
}

}  // namespace

bool store_is_a_file(const std::string& root)
{
    std::error_code ec;
    auto status = fs::status(database_path(root), ec);
    return !fs::exists(status) || fs::is_regular_file(status);
}

bool is_unsound_code(int code)
{
    int primary = code & 0xff;
    return primary == SQLITE_CORRUPT || primary == SQLITE_NOTADB;
}

bool set_aside_store(const std::string& root, std::string& error)
{
    Lock lock((fs::path(device_folder(root)) / "mending.lock").string());
    std::string why = unsoundness(root);
    if (why.empty())
        return true;  // sound again: another process has mended it meanwhile
    std::string db = database_path(root), fresh = db + ".fresh", kept = kept_name(root);
    auto rows = store_is_a_file(root) ? readable_rows(db) : std::map<int64_t, Registration>();
    if (!build_store(fresh, rows, error) || !swap_in(db, kept, fresh, error)) {
        say(root, "tickvane: the notification database " + db + " is unusable (" + why +
                      ") and could not be set aside: " + error);
        return false;
    }
    say(root, "tickvane: the notification database was unusable (" + why + "); kept as " + kept + ", " +
                  std::to_string(rows.size()) + " registration(s) carried into a fresh one");
    return true;
}

}  // namespace tickvane::device::notify
