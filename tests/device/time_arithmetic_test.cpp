// Calendar arithmetic between SYSTEMTIME and FILETIME, and Sleep on real and
// virtual time.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>

#include "testing.h"
#include "time/time_arithmetic.h"
#include "win32.h"

namespace {

constexpr uint64_t ms_intervals = 10'000;
constexpr uint64_t day_intervals = 86'400'000ULL * ms_intervals;

SYSTEMTIME at(WORD y, WORD mo, WORD d, WORD h = 0, WORD mi = 0, WORD s = 0, WORD ms = 0)
{
    return SYSTEMTIME{y, mo, 0, d, h, mi, s, ms};
}

uint64_t intervals(const SYSTEMTIME& t)
{
    FILETIME ft{};
    EXPECT_TRUE(SystemTimeToFileTime(&t, &ft)) << t.wYear << "-" << t.wMonth << "-" << t.wDay;
    return (uint64_t)ft.dwHighDateTime << 32 | ft.dwLowDateTime;
}

SYSTEMTIME moment(uint64_t value)
{
    FILETIME ft{(DWORD)value, (DWORD)(value >> 32)};
    SYSTEMTIME t{};
    EXPECT_TRUE(FileTimeToSystemTime(&ft, &t));
    return t;
}

bool same(const SYSTEMTIME& a, const SYSTEMTIME& b)
{
    return a.wYear == b.wYear && a.wMonth == b.wMonth && a.wDay == b.wDay && a.wHour == b.wHour &&
           a.wMinute == b.wMinute && a.wSecond == b.wSecond && a.wMilliseconds == b.wMilliseconds;
}

TEST(TimeArithmetic, KnownMoments)
{
    EXPECT_EQ(intervals(at(1601, 1, 1)), 0u);
    EXPECT_EQ(moment(0).wDayOfWeek, 1);  // 1601-01-01 was a Monday
    EXPECT_EQ(intervals(at(1970, 1, 1)), 116444736000000000ULL);
    EXPECT_EQ(moment(116444736000000000ULL).wDayOfWeek, 4);  // Thursday
    SYSTEMTIME t = moment(intervals(at(2026, 12, 7, 9, 5, 30, 250)));
    EXPECT_TRUE(same(t, at(2026, 12, 7, 9, 5, 30, 250)));
    EXPECT_EQ(t.wDayOfWeek, 1);

    SYSTEMTIME last = moment(0x7FFFFFFFFFFFFFFFULL);
    EXPECT_TRUE(same(last, at(30828, 9, 14, 2, 48, 5, 477)));
    EXPECT_EQ(last.wDayOfWeek, 4);
}

TEST(TimeArithmetic, OneMillisecondCrossesEveryKindOfBoundary)
{
    struct Crossing {
        SYSTEMTIME before, after;
        WORD weekday_after;
    } crossings[] = {
        {at(2026, 1, 31, 23, 59, 59, 999), at(2026, 2, 1), 0},
        {at(2023, 12, 31, 23, 59, 59, 999), at(2024, 1, 1), 1},
        {at(2024, 2, 28, 23, 59, 59, 999), at(2024, 2, 29), 4},
        {at(2000, 2, 28, 23, 59, 59, 999), at(2000, 2, 29), 2},  // divisible by 400: leap
        {at(2100, 2, 28, 23, 59, 59, 999), at(2100, 3, 1), 1},   // century: not leap
        {at(1900, 2, 28, 23, 59, 59, 999), at(1900, 3, 1), 4},
        {at(1999, 12, 31, 23, 59, 59, 999), at(2000, 1, 1), 6},
    };
    for (const Crossing& c : crossings) {
        EXPECT_EQ(intervals(c.after) - intervals(c.before), ms_intervals) << c.after.wYear;
        SYSTEMTIME back = moment(intervals(c.before) + ms_intervals);
        EXPECT_TRUE(same(back, c.after)) << c.after.wYear << "-" << c.after.wMonth;
        EXPECT_EQ(back.wDayOfWeek, c.weekday_after) << c.after.wYear;
    }
    EXPECT_EQ(intervals(at(2001, 1, 1)) - intervals(at(2000, 1, 1)), 366 * day_intervals);
    EXPECT_EQ(intervals(at(2101, 1, 1)) - intervals(at(2100, 1, 1)), 365 * day_intervals);
    EXPECT_EQ(intervals(at(2401, 1, 1)) - intervals(at(2001, 1, 1)), 146097 * day_intervals);
}

TEST(TimeArithmetic, EveryDayOfTwoCenturiesRoundTrips)
{
    uint64_t value = intervals(at(1899, 1, 1, 12));
    WORD weekday = moment(value).wDayOfWeek;
    for (int i = 0; i < 2 * 36525; ++i, value += day_intervals) {
        SYSTEMTIME t = moment(value);
        ASSERT_EQ(intervals(t), value);
        ASSERT_EQ(t.wDayOfWeek, weekday);
        ASSERT_TRUE(tickvane::device::valid_system_time(t));
        weekday = (WORD)((weekday + 1) % 7);
    }
}

TEST(TimeArithmetic, FieldsOutsideTheCalendarAreRefused)
{
    const SYSTEMTIME bad[] = {
        at(2100, 2, 29),
        at(2023, 2, 29),
        at(2024, 2, 30),
        at(2024, 4, 31),
        at(2024, 0, 1),
        at(2024, 13, 1),
        at(2024, 1, 0),
        at(1600, 12, 31),
        at(30828, 1, 1),
        at(2024, 1, 1, 24),
        at(2024, 1, 1, 0, 60),
        at(2024, 1, 1, 0, 0, 60),
        at(2024, 1, 1, 0, 0, 0, 1000),
    };
    for (const SYSTEMTIME& t : bad) {
        FILETIME ft{123, 456};
        SetLastError(0);
        EXPECT_FALSE(SystemTimeToFileTime(&t, &ft)) << t.wYear << "-" << t.wMonth << "-" << t.wDay << " " << t.wHour;
        EXPECT_EQ(GetLastError(), (DWORD)ERROR_INVALID_PARAMETER);
        EXPECT_FALSE(tickvane::device::valid_system_time(t));
    }
    SYSTEMTIME odd_weekday = at(2024, 2, 29, 23, 59, 59, 999);
    odd_weekday.wDayOfWeek = 99;  // not looked at
    EXPECT_TRUE(tickvane::device::valid_system_time(odd_weekday));
    EXPECT_TRUE(tickvane::device::valid_system_time(at(30827, 12, 31, 23, 59, 59, 999)));
    EXPECT_TRUE(tickvane::device::valid_system_time(at(1601, 1, 1)));

    FILETIME top_bit{0, 0x80000000u};
    SYSTEMTIME t{};
    EXPECT_FALSE(FileTimeToSystemTime(&top_bit, &t));
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_INVALID_PARAMETER);
    EXPECT_FALSE(FileTimeToSystemTime(nullptr, &t));
    EXPECT_FALSE(SystemTimeToFileTime(nullptr, &top_bit));
}

TEST(DeviceSleep, VirtualTimeAdvancesInsteadOfWaiting)
{
    tickvane::device::testing::reset();
    SYSTEMTIME before{}, after{};
    GetLocalTime(&before);
    uint64_t start = tickvane::device::testing::virtual_now();
    DWORD ticks = GetTickCount();
    auto wall = std::chrono::steady_clock::now();
    Sleep(250);
    Sleep(60'000);
    EXPECT_EQ(tickvane::device::testing::virtual_now() - start, 60'250u);
    EXPECT_EQ(GetTickCount() - ticks, 60'250u);
    EXPECT_LT(std::chrono::steady_clock::now() - wall, std::chrono::seconds(1));
    GetLocalTime(&after);
    EXPECT_TRUE(same(before, after));  // the pinned local time stays where the test put it
}

TEST(DeviceSleep, RealTimeWaits)
{
    tickvane::device::testing::reset();
    tickvane::device::testing::use_real_clock();
    auto start = std::chrono::steady_clock::now();
    Sleep(30);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(30));
    tickvane::device::testing::reset();
}

}  // namespace
