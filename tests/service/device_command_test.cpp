// The tickvane-device command: listing what is pending, and its usage.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "notify/notification_store.h"
#include "service_fixture.h"

using namespace tickvane::service_test;
using namespace std::chrono_literals;
using tickvane::e2e::environment_with;
using tickvane::e2e::run_bounded;

namespace {

TEST(DeviceCommand, PendingListsRegistrationsEarliestFirst)
{
    DeviceTree tree;
    ASSERT_NE(register_start({2027, 3, 0, 14, 10, 23, 50, 0}, u"b c"), nullptr);
    ASSERT_NE(register_start({2027, 3, 0, 14, 10, 23, 45, 0}, u"", u"\\Program Files\\Test\\record_start"), nullptr);
    ASSERT_NE(register_start({2026, 12, 0, 31, 23, 59, 59, 0}, u"a"), nullptr);
    const std::string expected = "2026-12-31 23:59:59\tProgram Files\\Test\\record_start\ta\n"
                                 "2027-03-14 10:23:45\t\\Program Files\\Test\\record_start\t\n"
                                 "2027-03-14 10:23:50\tProgram Files\\Test\\record_start\tb c\n";
    auto by_option = run_bounded({TICKVANE_DEVICE_EXE, "--root", tree.root(), "pending"}, environment_with({}), 5000ms);
    EXPECT_EQ(by_option.exit_code, 0);
    EXPECT_EQ(by_option.output, expected);
    auto by_environment = run_bounded({TICKVANE_DEVICE_EXE, "pending"},
                                      environment_with({"TICKVANE_DEVICE_ROOT=" + tree.root()}), 5000ms);
    EXPECT_EQ(by_environment.exit_code, 0);
    EXPECT_EQ(by_environment.output, expected);
}

TEST(DeviceCommand, PendingOnAnEmptyRootListsNothingAndCreatesNothing)
{
    DeviceTree tree;
    auto listed = run_bounded({TICKVANE_DEVICE_EXE, "--root=" + tree.root(), "pending"}, environment_with({}), 5000ms);
    EXPECT_EQ(listed.exit_code, 0);
    EXPECT_EQ(listed.output, "");
    EXPECT_FALSE(std::filesystem::exists(tickvane::device::notify::database_path(tree.root())));
}

// A root the device cannot use: both commands name the real cause and fail.
TEST(DeviceCommand, UnusableRootsAreReportedWithTheirCause)
{
    DeviceTree tree;
    std::ofstream(tree.root() + "/a-file") << "x";
    const std::string file = tree.root() + "/a-file", missing = tree.root() + "/no-such-folder";
    const struct {
        std::string root;
        const char* command;
        const char* cause;
    } cases[] = {
        {file, "service", "Not a directory"},
        {file, "pending", "Not a directory"},
        {missing, "pending", "No such file or directory"},  // the service would lay it out
    };
    for (const auto& c : cases) {
        auto outcome = run_bounded({TICKVANE_DEVICE_EXE, "--root", c.root, c.command}, environment_with({}), 5000ms);
        EXPECT_EQ(outcome.exit_code, 1) << c.command << " " << c.root << ": " << outcome.output;
        EXPECT_NE(outcome.output.find("cannot use the device root " + c.root), std::string::npos) << outcome.output;
        EXPECT_NE(outcome.output.find(c.cause), std::string::npos) << outcome.output;
    }
}

TEST(DeviceCommand, BadUsageExitsWithTwo)
{
    const std::vector<std::vector<std::string>> bad = {
        {}, {"bogus"}, {"--root"}, {"--root", "/tmp"}, {"--root=", "pending"}, {"service", "pending"}, {"pending", "x"},
    };
    for (auto args : bad) {
        args.insert(args.begin(), TICKVANE_DEVICE_EXE);
        auto outcome = run_bounded(args, environment_with({}), 5000ms);
        EXPECT_EQ(outcome.exit_code, 2) << args.size();
        EXPECT_NE(outcome.output.find("usage"), std::string::npos) << outcome.output;
    }
}

}  // namespace
