// The .job reader on files built here: a whole one is read field by field, and a
// cut or lying one is refused without reading past its end.
#include <gtest/gtest.h>

#include "job_file.h"

using namespace tickvane::wine;

namespace {

struct JobBytes {
    std::string bytes;
    void u16(int v) { bytes += {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8 & 0xFF)}; }
    void u32(uint32_t v)
    {
        u16(static_cast<int>(v & 0xFFFF));
        u16(static_cast<int>(v >> 16));
    }
    void text(const std::u16string& s)
    {
        u16(static_cast<int>(s.size() + 1));
        for (char16_t c : s + u'\0')
            u16(c);
    }
    void put_u16(size_t at, int v)
    {
        bytes[at] = static_cast<char>(v & 0xFF);
        bytes[at + 1] = static_cast<char>(v >> 8);
    }
};

// Application, no parameters, a working directory, absent author and comment, 8 bytes of
// reserved data, and one trigger: once, 2025-01-01 00:01.
std::string sample_job()
{
    JobBytes j;
    j.bytes.assign(68, '\0');
    j.put_u16(0, 0x0601);
    j.put_u16(2, 1);
    j.u16(0);  // running instances
    j.put_u16(20, static_cast<int>(j.bytes.size()));
    j.text(u"C:\\Program Files\\Tickvane\\zubo.exe");
    j.text(u"");
    j.text(u"C:\\Program Files\\Tickvane");
    j.u16(0);
    j.u16(0);
    j.u16(0);  // no user data
    j.u16(8);
    j.bytes.append(8, '\0');
    j.put_u16(22, static_cast<int>(j.bytes.size()));
    j.u16(1);
    for (int field : {48, 0, 2025, 1, 1, 0, 0, 0, 0, 1})
        j.u16(field);
    for (uint32_t field : {0u, 0u, 0u, 0u})  // duration, interval, flags, type "once"
        j.u32(field);
    j.bytes.append(12, '\0');
    return j.bytes;
}

TEST(JobFile, ReadsTheStringsAndTheTrigger)
{
    std::string why;
    std::optional<JobFile> job = parse_job(sample_job(), &why);
    ASSERT_TRUE(job.has_value()) << why;
    EXPECT_EQ(job->application, u"C:\\Program Files\\Tickvane\\zubo.exe");
    EXPECT_EQ(job->parameters, u"");
    EXPECT_EQ(job->working_directory, u"C:\\Program Files\\Tickvane");
    ASSERT_EQ(job->triggers.size(), 1u);
    const JobTrigger& t = job->triggers[0];
    EXPECT_EQ((std::vector<int>{t.begin_year, t.begin_month, t.begin_day, t.start_hour, t.start_minute}),
              (std::vector<int>{2025, 1, 1, 0, 1}));
    EXPECT_EQ(t.type, 0u);
}

TEST(JobFile, RefusesCutAndInconsistentFiles)
{
    std::string whole = sample_job(), why;
    for (size_t n = 0; n < whole.size(); ++n)
        EXPECT_FALSE(parse_job(whole.substr(0, n), &why).has_value()) << "cut to " << n << " bytes";

    std::string moved = whole;
    moved[22] = static_cast<char>(moved[22] + 2);  // the trigger offset
    EXPECT_FALSE(parse_job(moved, &why).has_value());
    EXPECT_NE(why, "");

    std::string unterminated = whole;
    unterminated[70] = static_cast<char>(unterminated[70] - 1);  // the name's count leaves out its null
    EXPECT_FALSE(parse_job(unterminated, &why).has_value());
}

}  // namespace
