// The notification trigger as the Task Scheduler is asked for it: refusals, paths from
// the current drive, names, and the minute rounding of the 1.0 fallback.
#include <gtest/gtest.h>

#include "launch_request.h"

using namespace tickvane::win32;

namespace {

SYSTEMTIME at(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second, WORD ms = 0)
{
    SYSTEMTIME t = {};
    t.wYear = year, t.wMonth = month, t.wDay = day, t.wHour = hour, t.wMinute = minute, t.wSecond = second;
    t.wMilliseconds = ms;
    return t;
}

std::wstring own_path()
{
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return path;
}

CE_NOTIFICATION_TRIGGER trigger_for(const std::wstring& application, const SYSTEMTIME& start)
{
    CE_NOTIFICATION_TRIGGER t = {};
    t.dwSize = sizeof(t);
    t.dwType = CNT_TIME;
    t.lpszApplication = const_cast<LPWSTR>(application.c_str());
    t.lpszArguments = const_cast<LPWSTR>(L"");
    t.stStartTime = start;
    return t;
}

}  // namespace

TEST(LaunchRequest, RefusesWhatTheHandheldRefuses)
{
    std::wstring self = own_path();
    EXPECT_FALSE(launch_request_from(nullptr));
    CE_NOTIFICATION_TRIGGER t = trigger_for(self, at(2026, 12, 7, 15, 10, 15));
    ASSERT_TRUE(launch_request_from(&t));

    CE_NOTIFICATION_TRIGGER wrong = t;
    wrong.dwSize = sizeof(t) - 4;
    EXPECT_FALSE(launch_request_from(&wrong)) << "size";
    wrong = t, wrong.dwType = CNT_PERIOD;
    EXPECT_FALSE(launch_request_from(&wrong)) << "not a time trigger";
    for (SYSTEMTIME bad : {at(2026, 2, 30, 10, 0, 0), at(2026, 13, 1, 0, 0, 0), at(2026, 12, 7, 24, 0, 0),
                           at(2026, 12, 7, 10, 60, 0), at(1600, 12, 31, 0, 0, 0)}) {
        wrong = t, wrong.stStartTime = bad;
        EXPECT_FALSE(launch_request_from(&wrong))
            << bad.wYear << "-" << bad.wMonth << "-" << bad.wDay << " " << bad.wHour;
    }
    std::wstring missing = self + L".missing", folder = L"C:\\windows";
    for (const std::wstring* app : {&missing, &folder}) {
        wrong = t, wrong.lpszApplication = const_cast<LPWSTR>(app->c_str());
        EXPECT_FALSE(launch_request_from(&wrong));
    }
    wrong = t, wrong.lpszApplication = nullptr;
    EXPECT_FALSE(launch_request_from(&wrong));
}

TEST(LaunchRequest, SpellsOutTheStart)
{
    std::wstring self = own_path();
    // The path from the root of the current drive, as the clock names its programs.
    std::wstring rooted = self.substr(2);
    CE_NOTIFICATION_TRIGGER t = trigger_for(rooted, at(2026, 12, 7, 15, 10, 15, 640));
    t.stStartTime.wDayOfWeek = 3;  // wrong; the date decides
    auto r = launch_request_from(&t);
    ASSERT_TRUE(r);
    wchar_t drive[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, drive);
    EXPECT_EQ(r->application, std::wstring(drive, 2) + rooted);
    EXPECT_EQ(r->directory, r->application.substr(0, r->application.find_last_of(L'\\')));
    EXPECT_EQ(r->due.wDayOfWeek, 1) << "7 December 2026 is a Monday";
    EXPECT_EQ(r->due.wMilliseconds, 0);
    EXPECT_EQ(r->task_family, L"Tickvane win32_standin_tests ");
    EXPECT_EQ(r->task_name, L"Tickvane win32_standin_tests 20261207T151015");
    EXPECT_EQ(boundary_text(r->due), L"2026-12-07T15:10:15");
}

TEST(LaunchRequest, TheFallbackStartsAtTheFirstWholeMinuteAtOrAfterTheDueSecond)
{
    auto text = [](const SYSTEMTIME& t) { return boundary_text(*first_whole_minute(t)); };
    EXPECT_EQ(text(at(2026, 12, 7, 15, 10, 15)), L"2026-12-07T15:11:00");
    EXPECT_EQ(text(at(2026, 12, 7, 15, 10, 0)), L"2026-12-07T15:10:00") << "already whole";
    EXPECT_EQ(text(at(2026, 12, 7, 15, 10, 0, 1)), L"2026-12-07T15:11:00") << "never early";
    EXPECT_EQ(text(at(2026, 12, 31, 23, 59, 30)), L"2027-01-01T00:00:00");
    EXPECT_EQ(text(at(2028, 2, 28, 23, 59, 59)), L"2028-02-29T00:00:00");
}

TEST(LaunchRequest, PastStartsAreThoseOfTheSameProgramDueBeforeTheCutoff)
{
    const std::wstring family = L"Tickvane zubo ", cutoff = L"20261207T151000";
    EXPECT_TRUE(is_past_start(L"Tickvane zubo 20261207T150959", family, cutoff));
    EXPECT_TRUE(is_past_start(L"Tickvane zubo 20251231T235959", family, cutoff));
    EXPECT_FALSE(is_past_start(L"Tickvane zubo 20261207T151000", family, cutoff)) << "not before";
    EXPECT_FALSE(is_past_start(L"Tickvane zubo 20270101T000000", family, cutoff));
    EXPECT_FALSE(is_past_start(L"Tickvane other 20261207T150959", family, cutoff)) << "another program";
    EXPECT_FALSE(is_past_start(L"Tickvane zubo 2026", family, cutoff)) << "not a start's name";
    EXPECT_FALSE(is_past_start(L"Backup 20261207T150959", family, cutoff));
}
