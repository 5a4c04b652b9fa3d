// The local clock and the monotonic clock behind timers; tests may pin both.
#include <sched.h>

#include "parts/part.h"
#include "time/clock.h"
#include <cerrno>
#include <ctime>

namespace tickvane::device {

uint64_t now_ms()
{
    if (device_clock().virtual_time)
        return device_clock().virtual_now;
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return (uint64_t)ts.tv_sec * 1000 + (uint64_t)ts.tv_nsec / 1000000;
}

namespace {

constinit parts::PartOf<Clock> g_clock;

}  // namespace

Clock& device_clock() { return g_clock.get(); }

}  // namespace tickvane::device

using namespace tickvane::device;

void WINAPI GetLocalTime(LPSYSTEMTIME out)
{
    if (out == nullptr)
        return;
    if (device_clock().pinned) {
        *out = *device_clock().pinned;
        return;
    }
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    tm local{};
    localtime_r(&ts.tv_sec, &local);
    out->wYear = (WORD)(local.tm_year + 1900);
    out->wMonth = (WORD)(local.tm_mon + 1);
    out->wDayOfWeek = (WORD)local.tm_wday;
    out->wDay = (WORD)local.tm_mday;
    out->wHour = (WORD)local.tm_hour;
    out->wMinute = (WORD)local.tm_min;
    out->wSecond = (WORD)(local.tm_sec > 59 ? 59 : local.tm_sec);  // a leap second shows as :59
    out->wMilliseconds = (WORD)(ts.tv_nsec / 1000000);
}

DWORD WINAPI GetTickCount() { return (DWORD)now_ms(); }

void WINAPI Sleep(DWORD milliseconds)
{
    // On virtual time sleeping moves that clock instead, so paced retries in tests
    // run at once and their pacing can be checked. A pinned local time stays put.
    if (device_clock().virtual_time) {
        device_clock().virtual_now += milliseconds;
        return;
    }
    if (milliseconds == 0) {
        sched_yield();  // gives up the rest of the time slice, as Sleep(0) does
        return;
    }
    constexpr DWORD infinite = 0xFFFFFFFF;
    do {
        timespec left{(time_t)(milliseconds / 1000), (long)(milliseconds % 1000) * 1000000L};
        while (nanosleep(&left, &left) != 0 && errno == EINTR) {
        }
    } while (milliseconds == infinite);
}
