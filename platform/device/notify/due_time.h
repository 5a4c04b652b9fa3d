// Due times of registrations: local wall-clock times kept as "YYYY-MM-DD HH:MM:SS",
// and the instant at which the host's local clock first shows them.
#pragma once

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>

#include "win32.h"

namespace tickvane::device::notify {

// The text of a start time to the second; milliseconds and day of week are dropped.
std::string due_text(const SYSTEMTIME& t);

// A number that orders due texts by time, also past year 9999 where the text alone
// no longer sorts. Empty for text that is not a due time.
std::optional<int64_t> due_key(const std::string& due);

// The local time at `t` as a due key.
int64_t local_key(time_t t);

// The first whole second after `now` at which the local clock shows `due` or later.
// A time skipped by a daylight-saving change falls due at the first instant after
// the skip; a time that occurs twice falls due at its first occurrence after `now`.
std::optional<time_t> due_instant(const std::string& due, time_t now);

}  // namespace tickvane::device::notify
