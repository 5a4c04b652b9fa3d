// A tap on the Windows clock's face under Wine: the clock ends and leaves the start
// of its next appearance to the Task Scheduler as a .job file.
#include <filesystem>
#include <fstream>
#include <sstream>

#include "clock_under_wine.h"
#include "job_file.h"

using namespace tickvane::wine;
using std::chrono::seconds;

namespace {

class DismissalUnderWine : public ClockUnderWine {
protected:
    std::optional<JobFile> job(const std::string& name)
    {
        std::ifstream in(prefix_->tasks_dir() + "/" + name, std::ios::binary);
        std::stringstream bytes;
        bytes << in.rdbuf();
        std::string why;
        std::optional<JobFile> parsed = parse_job(bytes.str(), &why);
        EXPECT_TRUE(parsed.has_value()) << name << ": " << why;
        return parsed;
    }
};

// 23:59:50 on New Year's Eve and the default 15 seconds: due 00:00:05 the next day and
// year, so the trigger starts at the first whole minute after it, 00:01.
TEST_F(DismissalUnderWine, ATapEndsTheClockAndSchedulesItsNextLaunch)
{
    ASSERT_TRUE(start("2024-12-31 23:59:50"));
    click(120, 200);
    std::optional<int> code = exit_code(seconds(15));
    ASSERT_TRUE(code.has_value()) << "the tap did not end the clock";
    EXPECT_EQ(*code, 0) << clock_output();

    ASSERT_EQ(jobs(), std::vector<std::string>{"Tickvane zubo 20250101T000005.job"});
    std::optional<JobFile> scheduled = job(jobs()[0]);
    ASSERT_TRUE(scheduled.has_value());
    EXPECT_EQ(ascii(scheduled->application), "C:\\Program Files\\Tickvane\\zubo.exe");
    ASSERT_EQ(scheduled->triggers.size(), 1u);
    const JobTrigger& t = scheduled->triggers[0];
    EXPECT_EQ(t.type, 0u) << "not a one-time trigger";
    EXPECT_EQ((std::vector<int>{t.begin_year, t.begin_month, t.begin_day}), (std::vector<int>{2025, 1, 1}));
    EXPECT_EQ((std::vector<int>{t.start_hour, t.start_minute}), (std::vector<int>{0, 1}));
}

// The close key asks the window to close, as the handheld's close button sends a program
// away: the clock registers its next appearance, here after the stored 1 min 30 s.
TEST_F(DismissalUnderWine, TheCloseKeyEndsTheClockWithTheStoredInterval)
{
    ASSERT_TRUE(start("2024-06-01 09:05:37"));
    std::filesystem::create_directories(std::filesystem::path(prefix_->settings_file()).parent_path());
    std::ofstream(prefix_->settings_file(), std::ios::binary) << "1 2";
    keys({"alt+F4"});
    std::optional<int> code = exit_code(seconds(15));
    ASSERT_TRUE(code.has_value()) << "Alt+F4 did not end the clock";
    EXPECT_EQ(*code, 0) << clock_output();

    ASSERT_EQ(jobs(), std::vector<std::string>{"Tickvane zubo 20240601T090707.job"});
    std::optional<JobFile> scheduled = job(jobs()[0]);
    ASSERT_TRUE(scheduled.has_value());
    ASSERT_EQ(scheduled->triggers.size(), 1u);
    EXPECT_EQ((std::vector<int>{scheduled->triggers[0].start_hour, scheduled->triggers[0].start_minute}),
              (std::vector<int>{9, 8}));
}

}  // namespace
