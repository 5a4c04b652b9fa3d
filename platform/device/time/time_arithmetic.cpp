#include "time/time_arithmetic.h"

#include <chrono>

namespace tickvane::device {

namespace {

using namespace std::chrono;

constexpr uint64_t intervals_per_ms = 10'000;
constexpr uint64_t intervals_per_day = 86'400'000ULL * intervals_per_ms;

// Days from 1601-01-01 to the std::chrono epoch (1970-01-01).
constexpr int64_t epoch_offset_days = -sys_days{year{1601} / January / 1}.time_since_epoch().count();

}  // namespace

bool valid_system_time(const SYSTEMTIME& t)
{
    if (t.wYear < 1601 || t.wYear > 30827 || t.wHour > 23 || t.wMinute > 59 || t.wSecond > 59 || t.wMilliseconds > 999)
        return false;
    return year_month_day{year{t.wYear}, month{t.wMonth}, day{t.wDay}}.ok();
}

std::optional<uint64_t> file_time_from(const SYSTEMTIME& t)
{
    if (!valid_system_time(t))
        return std::nullopt;
    sys_days date{year{t.wYear} / month{t.wMonth} / day{t.wDay}};
    auto days = (uint64_t)(date.time_since_epoch().count() + epoch_offset_days);
    uint64_t ms = ((t.wHour * 60ULL + t.wMinute) * 60ULL + t.wSecond) * 1000ULL + t.wMilliseconds;
    return days * intervals_per_day + ms * intervals_per_ms;
}

std::optional<SYSTEMTIME> system_time_from(uint64_t intervals)
{
    if (intervals >> 63 != 0)
        return std::nullopt;
    sys_days date{days{(int64_t)(intervals / intervals_per_day) - epoch_offset_days}};
    year_month_day ymd{date};
    uint64_t ms = intervals % intervals_per_day / intervals_per_ms;
    SYSTEMTIME t{};
    t.wYear = (WORD)(int)ymd.year();
    t.wMonth = (WORD)(unsigned)ymd.month();
    t.wDay = (WORD)(unsigned)ymd.day();
    t.wDayOfWeek = (WORD)weekday{date}.c_encoding();
    t.wHour = (WORD)(ms / 3'600'000);
    t.wMinute = (WORD)(ms / 60'000 % 60);
    t.wSecond = (WORD)(ms / 1000 % 60);
    t.wMilliseconds = (WORD)(ms % 1000);
    return t;
}

}  // namespace tickvane::device

using namespace tickvane::device;

BOOL WINAPI SystemTimeToFileTime(const SYSTEMTIME* systemTime, LPFILETIME fileTime)
{
    auto intervals = systemTime && fileTime ? file_time_from(*systemTime) : std::nullopt;
    if (!intervals) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    fileTime->dwLowDateTime = (DWORD)(*intervals & 0xFFFFFFFFu);
    fileTime->dwHighDateTime = (DWORD)(*intervals >> 32);
    return TRUE;
}

BOOL WINAPI FileTimeToSystemTime(const FILETIME* fileTime, LPSYSTEMTIME systemTime)
{
    auto t = fileTime && systemTime
                 ? system_time_from((uint64_t)fileTime->dwHighDateTime << 32 | fileTime->dwLowDateTime)
                 : std::nullopt;
    if (!t) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *systemTime = *t;
    return TRUE;
}
