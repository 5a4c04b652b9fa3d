// The SQLite functions the device calls, each forwarding to libsqlite3 opened at the first
// call: a program reaches the notification store only when it registers or dismisses, and
// its start should not load and relocate a 1.4 MB library it may never use. Defining them
// against <sqlite3.h> keeps the compiler checking every signature.
#include <sqlite3.h>

#include "lazy_library.h"

using tickvane::on_demand::find;
using tickvane::on_demand::LazyLibrary;
using tickvane::on_demand::require;

namespace {
LazyLibrary& sqlite()
{
    static LazyLibrary* library = new LazyLibrary("libsqlite3.so.0");  // used until the process ends
    return *library;
}
}  // namespace

// Functions that only a successful open can lead to: the library is there by then.
#define TICKVANE_FORWARD(result, name, params, args)                            \
    extern "C" result name params                                               \
    {                                                                           \
        static const auto function = require<decltype(&name)>(sqlite(), #name); \
        return function args;                                                   \
    }

TICKVANE_FORWARD(int, sqlite3_prepare_v2,
                 (sqlite3 * db, const char* sql, int bytes, sqlite3_stmt** statement, const char** tail),
                 (db, sql, bytes, statement, tail))
TICKVANE_FORWARD(int, sqlite3_step, (sqlite3_stmt * statement), (statement))
TICKVANE_FORWARD(int, sqlite3_reset, (sqlite3_stmt * statement), (statement))
TICKVANE_FORWARD(int, sqlite3_finalize, (sqlite3_stmt * statement), (statement))
TICKVANE_FORWARD(int, sqlite3_bind_text,
                 (sqlite3_stmt * statement, int column, const char* text, int bytes, void (*release)(void*)),
                 (statement, column, text, bytes, release))
TICKVANE_FORWARD(int, sqlite3_bind_int64, (sqlite3_stmt * statement, int column, sqlite3_int64 value),
                 (statement, column, value))
TICKVANE_FORWARD(const unsigned char*, sqlite3_column_text, (sqlite3_stmt * statement, int column), (statement, column))
TICKVANE_FORWARD(int, sqlite3_column_bytes, (sqlite3_stmt * statement, int column), (statement, column))
TICKVANE_FORWARD(sqlite3_int64, sqlite3_column_int64, (sqlite3_stmt * statement, int column), (statement, column))
TICKVANE_FORWARD(int, sqlite3_exec,
                 (sqlite3 * db, const char* sql, int (*callback)(void*, int, char**, char**), void* context,
                  char** error),
                 (db, sql, callback, context, error))
TICKVANE_FORWARD(int, sqlite3_busy_timeout, (sqlite3 * db, int ms), (db, ms))
TICKVANE_FORWARD(sqlite3_int64, sqlite3_last_insert_rowid, (sqlite3 * db), (db))
TICKVANE_FORWARD(int, sqlite3_changes, (sqlite3 * db), (db))
TICKVANE_FORWARD(int, sqlite3_db_readonly, (sqlite3 * db, const char* name), (db, name))

#undef TICKVANE_FORWARD

// Opening is where a missing library shows: as a database that cannot be opened.
extern "C" int sqlite3_open_v2(const char* filename, sqlite3** db, int flags, const char* vfs)
{
    static const auto function = find<decltype(&sqlite3_open_v2)>(sqlite(), "sqlite3_open_v2");
    if (function == nullptr) {
        *db = nullptr;
        return SQLITE_CANTOPEN;
    }
    return function(filename, db, flags, vfs);
}

extern "C" int sqlite3_open(const char* filename, sqlite3** db)
{
    static const auto function = find<decltype(&sqlite3_open)>(sqlite(), "sqlite3_open");
    if (function == nullptr) {
        *db = nullptr;
        return SQLITE_CANTOPEN;
    }
    return function(filename, db);
}

// What a failed open leaves callers to do with its null handle.
extern "C" int sqlite3_close(sqlite3* db)
{
    static const auto function = find<decltype(&sqlite3_close)>(sqlite(), "sqlite3_close");
    return function != nullptr ? function(db) : SQLITE_OK;
}

extern "C" const char* sqlite3_errmsg(sqlite3* db)
{
    static const auto function = find<decltype(&sqlite3_errmsg)>(sqlite(), "sqlite3_errmsg");
    return function != nullptr ? function(db) : "libsqlite3.so.0 cannot be loaded";
}

extern "C" int sqlite3_errcode(sqlite3* db)
{
    static const auto function = find<decltype(&sqlite3_errcode)>(sqlite(), "sqlite3_errcode");
    return function != nullptr ? function(db) : SQLITE_CANTOPEN;
}

extern "C" void sqlite3_free(void* memory)
{
    static const auto function = find<decltype(&sqlite3_free)>(sqlite(), "sqlite3_free");
    if (function != nullptr)
        function(memory);
}
