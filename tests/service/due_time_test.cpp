// When a due local time comes round on the host's clock, across daylight-saving
// changes, and how due times order.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>

#include "notify/due_time.h"

using namespace tickvane::device::notify;

namespace {

class InZone {
public:
    explicit InZone(const char* zone)
    {
        const char* old = std::getenv("TZ");
        had_ = old != nullptr;
        old_ = old ? old : "";
        setenv("TZ", zone, 1);
        tzset();
    }
    ~InZone()
    {
        had_ ? setenv("TZ", old_.c_str(), 1) : unsetenv("TZ");
        tzset();
    }

private:
    bool had_;
    std::string old_;
};

// Instants in UTC, seen in New York.
constexpr time_t mar14_0000_est = 1805000400;
constexpr time_t mar14_0300_edt = 1805007600;  // one second after 01:59:59 EST
constexpr time_t nov7_0130_edt = 1825565400;
constexpr time_t nov7_0110_est = 1825567800;
constexpr time_t nov7_0130_est = 1825569000;

TEST(DueInstant, TimeSkippedBySpringChangeFallsDueWhenTheSkipEnds)
{
    InZone zone("America/New_York");
    EXPECT_EQ(due_instant("2027-03-14 02:30:00", mar14_0000_est), mar14_0300_edt);
    EXPECT_EQ(due_instant("2027-03-14 02:00:00", mar14_0000_est), mar14_0300_edt);
    EXPECT_EQ(due_instant("2027-03-14 03:00:01", mar14_0000_est), mar14_0300_edt + 1);
    EXPECT_EQ(due_instant("2027-03-14 01:59:59", mar14_0000_est), mar14_0300_edt - 1);
}

TEST(DueInstant, TimeRepeatedByAutumnChangeFallsDueAtItsNextOccurrence)
{
    InZone zone("America/New_York");
    EXPECT_EQ(due_instant("2027-11-07 01:30:00", nov7_0130_edt - 3600), nov7_0130_edt);
    EXPECT_EQ(due_instant("2027-11-07 01:30:00", nov7_0110_est), nov7_0130_est);
}

TEST(DueInstant, PlainTimesAndTimesAlreadyPassed)
{
    InZone zone("Asia/Tokyo");
    time_t now = 1805000400;  // 2027-03-14 14:00:00 in Tokyo
    EXPECT_EQ(due_instant("2027-03-14 14:00:15", now), now + 15);
    EXPECT_EQ(due_instant("2027-03-15 14:00:00", now), now + 86400);
    EXPECT_EQ(due_instant("2027-03-14 13:59:59", now), now) << "overdue: due at once";
    EXPECT_EQ(due_instant("1601-01-01 00:00:00", now), now);
    EXPECT_FALSE(due_instant("2027-03-14 14:00", now));
    EXPECT_FALSE(due_instant("2027-03-14 24:00:00", now));
    EXPECT_FALSE(due_instant("2027-03-14 14:00:00 ", now));
}

TEST(DueKey, OrdersByTimeBeyondFourDigitYears)
{
    EXPECT_LT(*due_key("9999-12-31 23:59:59"), *due_key("10000-01-01 00:00:00"));
    EXPECT_LT(*due_key("2027-03-14 10:23:59"), *due_key("2027-03-14 10:24:00"));
    EXPECT_LT(*due_key("2027-02-28 23:59:59"), *due_key("2027-03-01 00:00:00"));
    EXPECT_FALSE(due_key("2027-13-01 00:00:00"));
    EXPECT_FALSE(due_key(""));
}

}  // namespace
