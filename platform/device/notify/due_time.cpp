#include "notify/due_time.h"

#include <algorithm>
#include <cstdio>

namespace tickvane::device::notify {

namespace {

struct Fields {
    int year, month, day, hour, minute, second;
};

int64_t key_of(const Fields& f)
{
    return ((((int64_t)f.year * 13 + f.month) * 32 + f.day) * 24 + f.hour) * 3600 + f.minute * 60 + f.second;
}

std::optional<Fields> parse(const std::string& due)
{
    Fields f{};
    int used = 0;
    if (std::sscanf(due.c_str(), "%d-%d-%d %d:%d:%d%n", &f.year, &f.month, &f.day, &f.hour, &f.minute, &f.second,
                    &used) != 6 ||
        (size_t)used != due.size())
        return std::nullopt;
    if (f.year < 1 || f.month < 1 || f.month > 12 || f.day < 1 || f.day > 31 || f.hour < 0 || f.hour > 23 ||
        f.minute < 0 || f.minute > 59 || f.second < 0 || f.second > 59)
        return std::nullopt;
    return f;
}

std::optional<time_t> local_instant(const Fields& f, int isdst)
{
    tm t{};
    t.tm_year = f.year - 1900;
    t.tm_mon = f.month - 1;
    t.tm_mday = f.day;
    t.tm_hour = f.hour;
    t.tm_min = f.minute;
    t.tm_sec = f.second;
    t.tm_isdst = isdst;
    time_t r = mktime(&t);
    if (r == (time_t)-1 && (t.tm_year != 69 || t.tm_mon != 11 || t.tm_mday != 31))
        return std::nullopt;
    return r;
}

}  // namespace

std::string due_text(const SYSTEMTIME& t)
{
    char text[40];
    std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u", (unsigned)t.wYear, (unsigned)t.wMonth,
                  (unsigned)t.wDay, (unsigned)t.wHour, (unsigned)t.wMinute, (unsigned)t.wSecond);
    return text;
}

std::optional<int64_t> due_key(const std::string& due)
{
    auto f = parse(due);
    if (!f)
        return std::nullopt;
    return key_of(*f);
}

int64_t local_key(time_t t)
{
    tm l{};
    localtime_r(&t, &l);
    return key_of({l.tm_year + 1900, l.tm_mon + 1, l.tm_mday, l.tm_hour, l.tm_min, l.tm_sec > 59 ? 59 : l.tm_sec});
}

std::optional<time_t> due_instant(const std::string& due, time_t now)
{
    auto f = parse(due);
    if (!f)
        return std::nullopt;
    int64_t key = key_of(*f);
    if (local_key(now) >= key)
        return now;
    // Read as standard and as daylight time the same fields give up to two instants;
    // an instant that reads back as the same fields exists on the local clock.
    std::optional<time_t> exact, low, high;
    for (int isdst : {0, 1}) {
        auto t = local_instant(*f, isdst);
        if (!t)
            continue;
        low = low ? std::min(*low, *t) : *t;
        high = high ? std::max(*high, *t) : *t;
        if (*t > now && local_key(*t) == key && (!exact || *t < *exact))
            exact = t;
    }
    if (exact)
        return exact;
    if (!high)
        return std::nullopt;
    // Skipped by a change of offset: search between the two readings for the first
    // second that shows a later time.
    // Never earlier than the next second: the caller waits for it and asks again.
    time_t lo = std::max(now, *low), hi = std::max(*high, now + 1);
    if (local_key(hi) < key)
        return hi;
    if (lo > now && local_key(lo) >= key)
        return lo;
    while (hi - lo > 1) {
        time_t mid = lo + (hi - lo) / 2;
        (local_key(mid) >= key ? hi : lo) = mid;
    }
    return hi;
}

}  // namespace tickvane::device::notify
