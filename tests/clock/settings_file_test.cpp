// The interval settings file as bytes on disk, read and written through the device.
#include <gtest/gtest.h>

#include <filesystem>

#include "device_tree.h"
#include "testing.h"
#include "zubo.h"

using namespace tickvane::test;
namespace dt = tickvane::device::testing;

namespace {

struct Choices {
    int minutes;
    int seconds;
    bool operator==(const Choices&) const = default;
};

Choices load()
{
    g_minuteChoice = -7;
    g_secondChoice = -7;
    LoadIntervalChoices();
    return {g_minuteChoice, g_secondChoice};
}

class SettingsFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        dt::reset();
        install_clock_tree();
    }
};

}  // namespace

TEST_F(SettingsFile, MissingFileIsCreatedEmptyAndReadsAsZeros)
{
    ASSERT_FALSE(read_settings());
    EXPECT_EQ(load(), (Choices{0, 0}));
    EXPECT_EQ(read_settings(), std::string());
}

TEST_F(SettingsFile, ReadsTheDigitsAtPositionsZeroAndTwo)
{
    write_settings("4 3");
    EXPECT_EQ(load(), (Choices{4, 3}));
    EXPECT_EQ(ReadConfigChar(1), u' ');
    EXPECT_EQ(ReadConfigChar(3), 0) << "only three characters are ever read";

    write_settings("2 1\r\n9 9 trailing");
    EXPECT_EQ(load(), (Choices{2, 1})) << "bytes after the third are never read";
}

TEST_F(SettingsFile, ShortOrForeignTextReadsAsZeroWhereNoDigitIs)
{
    const struct {
        const char* bytes;
        Choices expected;
    } cases[] = {
        {"3", {3, 0}},   {"3 ", {3, 0}},  {"", {0, 0}},    {"a b", {0, 0}},
        {"  2", {0, 2}}, {"x 3", {0, 3}}, {"4 z", {4, 0}}, {"-1 ", {0, 0}},
    };
    for (const auto& c : cases) {
        write_settings(c.bytes);
        EXPECT_EQ(load(), c.expected) << "file \"" << c.bytes << "\"";
    }
}

TEST_F(SettingsFile, ShiftJisTextShiftsThePositionsButNeverCrashes)
{
    // A full-width digit is two bytes in code page 932: the three bytes read are
    // one full-width character and a space.
    write_settings("\x82\x51 1");
    EXPECT_EQ(ReadConfigChar(0), u'\uFF12');
    EXPECT_EQ(ReadConfigChar(1), u' ');
    EXPECT_EQ(ReadConfigChar(2), 0);
    EXPECT_EQ(load().seconds, 0);
    // A lead byte cut off by the three-byte read still yields a defined character.
    write_settings("1 \x82");
    EXPECT_EQ(load().minutes, 1);
}

TEST_F(SettingsFile, SaveWritesThreeBytesAndKeepsAnyTail)
{
    g_minuteChoice = 2;
    g_secondChoice = 1;
    SaveIntervalChoices();
    EXPECT_EQ(read_settings(), std::string("\x32\x20\x31"));

    write_settings("0 0 and an old tail");
    g_minuteChoice = 4;
    g_secondChoice = 3;
    SaveIntervalChoices();
    EXPECT_EQ(read_settings(), std::string("4 3 and an old tail"));
    EXPECT_EQ(load(), (Choices{4, 3}));

    // Several saves in a row: the last one wins, and it differs from every one before it.
    for (Choices c : {Choices{1, 0}, Choices{3, 2}, Choices{2, 1}}) {
        g_minuteChoice = c.minutes;
        g_secondChoice = c.seconds;
        SaveIntervalChoices();
    }
    EXPECT_EQ(read_settings(), std::string("2 1 and an old tail"));
    EXPECT_EQ(load(), (Choices{2, 1}));
}

TEST_F(SettingsFile, ChoicesOutsideOneDigitDoNotReadBackAsWritten)
{
    g_minuteChoice = -1;
    g_secondChoice = 2;
    SaveIntervalChoices();
    EXPECT_EQ(read_settings(), std::string("-1 "));
    EXPECT_EQ(load(), (Choices{0, 0}));

    g_minuteChoice = 12;
    g_secondChoice = 3;
    SaveIntervalChoices();
    EXPECT_EQ(read_settings(), std::string("12 "));
    EXPECT_EQ(load(), (Choices{1, 0}));
}

TEST(SettingsFileWithoutFolder, ReadsZerosAndCreatesNothing)
{
    dt::reset();
    EXPECT_EQ(load(), (Choices{0, 0}));
    g_minuteChoice = 3;
    g_secondChoice = 2;
    SaveIntervalChoices();
    EXPECT_FALSE(read_settings());
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(dt::root()) / "Program Files"));
}
