// A one-time start of a program at a local time, as the Windows Task Scheduler is asked
// for it: checked and spelled out from the handheld's notification trigger.
#pragma once

#include <optional>
#include <string>

#include "win32.h"

namespace tickvane::win32 {

struct LaunchRequest {
    std::wstring application;  // full path, drive included
    std::wstring arguments;
    std::wstring directory;    // the application's folder
    SYSTEMTIME due;            // local, to the second
    std::wstring task_family;  // "Tickvane zubo ": what every start of this program is named from
    std::wstring task_name;    // the family and the due second: one start per program and second
};

// Empty when the handheld would refuse the trigger: not a time trigger, a time that
// is no date, or an application that is not a file. Paths without a drive are taken
// from the current drive, as Windows takes them.
std::optional<LaunchRequest> launch_request_from(const CE_NOTIFICATION_TRIGGER* trigger);

// "Tickvane <file name without extension> ": the names of every start of `application`.
std::wstring task_family(const std::wstring& application);

// "YYYYMMDDTHHMMSS": fixed width, so the texts sort as the times do.
std::wstring compact_time(const SYSTEMTIME& t);

// Whether `task_name` is a start of `family` that fell due before the `cutoff` time
// (compact): one the scheduler has had its chance to run.
bool is_past_start(const std::wstring& task_name, const std::wstring& family, const std::wstring& cutoff);

// `minutes` before the local time now, compact: starts due before it have had their chance.
std::wstring past_start_cutoff(int minutes);

// "YYYY-MM-DDTHH:MM:SS": a local time as the Task Scheduler reads its boundaries.
std::wstring boundary_text(const SYSTEMTIME& t);

// The first whole minute at or after `t`, for schedulers that count in minutes: a start
// may come late, never early. Empty for a time that is no date.
std::optional<SYSTEMTIME> first_whole_minute(const SYSTEMTIME& t);

}  // namespace tickvane::win32
