// Calendar arithmetic between SYSTEMTIME and FILETIME: the proleptic Gregorian
// calendar, counted in 100-ns intervals from 1601-01-01 00:00.
#pragma once

#include <cstdint>
#include <optional>

#include "win32.h"

namespace tickvane::device {

// Whether `t` names a moment SystemTimeToFileTime accepts: year 1601..30827, a day
// that the month has (leap years included), hour < 24, minute < 60, second < 60,
// milliseconds < 1000. wDayOfWeek is not looked at.
bool valid_system_time(const SYSTEMTIME& t);

// 100-ns intervals since 1601-01-01; nullopt for an invalid time.
std::optional<uint64_t> file_time_from(const SYSTEMTIME& t);

// The calendar moment, wDayOfWeek filled (0 = Sunday); nullopt for a count with
// the top bit set, which Windows refuses.
std::optional<SYSTEMTIME> system_time_from(uint64_t intervals);

}  // namespace tickvane::device
