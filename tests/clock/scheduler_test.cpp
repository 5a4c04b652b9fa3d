// The next appearance as the notification service receives it: rows in the
// device's notification database.
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "device_tree.h"
#include "testing.h"
#include "zubo.h"

using namespace tickvane::test;
namespace dt = tickvane::device::testing;

namespace {

SYSTEMTIME at(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second, WORD ms = 0)
{
    SYSTEMTIME t{};
    t.wYear = year;
    t.wMonth = month;
    t.wDay = day;
    t.wHour = hour;
    t.wMinute = minute;
    t.wSecond = second;
    t.wMilliseconds = ms;
    FILETIME ft;  // a consistent weekday, as the platform's clock gives it
    SystemTimeToFileTime(&t, &ft);
    FileTimeToSystemTime(&ft, &t);
    return t;
}

class Scheduler : public ::testing::Test {
protected:
    void SetUp() override
    {
        dt::reset();
        install_clock_tree();
        g_scheduleFailed = -1;
    }
    // Registers once at `now` with the settings file holding `settings` (none when null).
    std::string wake_time(const SYSTEMTIME& now, const char* settings)
    {
        if (settings)
            write_settings(settings);
        dt::set_local_time(now);
        std::multiset<std::string> before;
        for (const auto& row : dt::pending())
            before.insert(row.due);
        ScheduleNextAppearance();
        EXPECT_EQ(g_scheduleFailed, 0);
        auto rows = dt::pending();
        if (rows.size() != before.size() + 1) {
            ADD_FAILURE() << "expected one new registration, have " << rows.size() - before.size();
            return {};
        }
        for (const auto& row : rows) {
            auto it = before.find(row.due);
            if (it == before.end())
                return row.due;
            before.erase(it);
        }
        return {};
    }
};

}  // namespace

TEST_F(Scheduler, WorkedExamples)
{
    SYSTEMTIME now = at(2026, 12, 7, 10, 20, 30);
    EXPECT_EQ(wake_time(now, "2 1"), "2026-12-07 10:23:45");
    dt::reset();
    install_clock_tree();
    EXPECT_EQ(wake_time(now, "0 0"), "2026-12-07 10:20:45");
    dt::reset();
    install_clock_tree();
    EXPECT_EQ(wake_time(now, "4 0"), "2026-12-07 10:30:30");
}

TEST_F(Scheduler, IntervalOfEachChoice)
{
    SYSTEMTIME now = at(2026, 12, 7, 10, 0, 0);
    const struct {
        const char* settings;
        const char* due;
    } cases[] = {
        {nullptr, "10:00:15"},  // no file: the default
        {"3 2", "10:05:30"},   {"1 0", "10:01:00"},
        {"0 3", "10:00:45"},   {"7 2", "10:00:30"},  // a minutes choice off the list adds no minutes
        {"9 0", "10:00:15"},                         // ... and with no seconds either, the default stands
        {"0 9", "10:02:15"},                         // a hand-edited seconds choice counts as written
    };
    for (const auto& c : cases) {
        SetUp();
        std::string due = wake_time(now, c.settings);
        EXPECT_EQ(due, std::string("2026-12-07 ") + c.due) << "settings " << (c.settings ? c.settings : "(none)");
    }
}

TEST_F(Scheduler, SumsCarryIntoTheNextFieldsAndTheWeekdayFollows)
{
    const struct {
        SYSTEMTIME now;
        const char* settings;
        const char* due;
    } cases[] = {
        {at(2026, 12, 7, 10, 52, 10), "4 0", "2026-12-07 11:02:10"},
        {at(2026, 12, 7, 10, 20, 50), "0 0", "2026-12-07 10:21:05"},
        {at(2026, 12, 7, 23, 55, 0), "4 3", "2026-12-08 00:05:45"},
        {at(2026, 12, 31, 23, 59, 50), "0 0", "2027-01-01 00:00:05"},
        {at(2028, 2, 28, 23, 59, 59), "0 1", "2028-02-29 00:00:14"},
        {at(2100, 2, 28, 23, 59, 59), "0 1", "2100-03-01 00:00:14"},
    };
    for (const auto& c : cases) {
        SetUp();
        EXPECT_EQ(wake_time(c.now, c.settings), c.due);
    }
}

TEST_F(Scheduler, RequestCarriesTheOwnExecutableTheWeekdayAndTheMilliseconds)
{
    std::vector<SYSTEMTIME> seen;
    dt::on_registration([&](const SYSTEMTIME& start) {
        seen.push_back(start);
        return true;
    });
    wake_time(at(2026, 12, 31, 23, 59, 50, 417), nullptr);  // a Thursday
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].wDayOfWeek, 5) << "2027-01-01 is a Friday";
    EXPECT_EQ(seen[0].wMilliseconds, 417);
    auto rows = dt::pending();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].application, "\\Program Files\\Tickvane\\zubo.exe");
    EXPECT_EQ(rows[0].arguments, "");
}

TEST_F(Scheduler, RegistrationsAreNeverWithdrawn)
{
    SYSTEMTIME now = at(2026, 12, 7, 10, 0, 0);
    wake_time(now, "4 0");
    wake_time(now, "0 1");
    auto rows = dt::pending();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].due, "2026-12-07 10:00:15");
    EXPECT_EQ(rows[1].due, "2026-12-07 10:10:00");
}

TEST_F(Scheduler, RefusalSetsTheFlagAndStoresNothing)
{
    dt::on_registration([](const SYSTEMTIME&) { return false; });
    dt::set_local_time(at(2026, 12, 7, 10, 0, 0));
    ScheduleNextAppearance();
    EXPECT_EQ(g_scheduleFailed, 1);
    EXPECT_TRUE(dt::pending().empty());
    dt::on_registration(nullptr);
    ScheduleNextAppearance();
    EXPECT_EQ(g_scheduleFailed, 0);
    EXPECT_EQ(dt::pending().size(), 1u);
}

TEST(SchedulerWithoutExecutable, IsRefused)
{
    // The service will not register a program that is not installed.
    dt::reset();
    ScheduleNextAppearance();
    EXPECT_EQ(g_scheduleFailed, 1);
    EXPECT_TRUE(dt::pending().empty());
}
