// A notification database that SQLite cannot use is set aside, never deleted: the
// rows it can still read go into a fresh store, and the cycle goes on.
#pragma once

#include <string>

namespace tickvane::device::notify {

// No database yet, or a regular file where it belongs (not a folder, a pipe...).
bool store_is_a_file(const std::string& root);
// An SQLite result saying the file is damaged or is no database at all.
bool is_unsound_code(int code);

// Under a device-wide lock: when the store is (still) unsound, keeps it as
// notifications-<UTC time>.db beside it, carries its readable rows into a fresh store
// and says so in one line (stderr and service.log). False with `error` filled when
// that cannot be done.
bool set_aside_store(const std::string& root, std::string& error);

}  // namespace tickvane::device::notify
