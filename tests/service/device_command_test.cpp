// The tickvane-device command: listing what is pending, and its usage.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "notify/notification_store.h"
#include "notify/service.h"
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
    const std::string expected =
        "2026-12-31 23:59:59\tProgram Files\\Test\\record_start\ta\n"
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

TEST(DeviceCommand, CancelDropsThePendingLaunchesOfOneProgramOrAllAndListsThem)
{
    DeviceTree tree;
    ASSERT_NE(register_start({2027, 3, 0, 14, 10, 23, 50, 0}, u"b"), nullptr);
    ASSERT_NE(register_start({2026, 12, 0, 31, 23, 59, 59, 0}, u"a"), nullptr);
    auto run = [&](std::vector<std::string> args) {
        args.insert(args.begin(), {TICKVANE_DEVICE_EXE, "--root", tree.root()});
        return run_bounded(args, environment_with({}), 5000ms);
    };
    const std::string both =
        "2026-12-31 23:59:59\tProgram Files\\Test\\record_start\ta\n"
        "2027-03-14 10:23:50\tProgram Files\\Test\\record_start\tb\n";
    EXPECT_EQ(run({"cancel", "\\Program Files\\Other\\record_start"}).output, "") << "another program's";
    EXPECT_EQ(run({"pending"}).output, both);
    // Device paths name a file whatever their case, from the root with or without the backslash.
    auto dropped = run({"cancel", "\\PROGRAM FILES\\test\\Record_Start"});
    EXPECT_EQ(dropped.exit_code, 0) << dropped.output;
    EXPECT_EQ(dropped.output, both);
    EXPECT_EQ(run({"pending"}).output, "");
    ASSERT_NE(register_start({2027, 3, 0, 14, 10, 23, 50, 0}, u"c"), nullptr);
    EXPECT_EQ(run({"cancel"}).output, "2027-03-14 10:23:50\tProgram Files\\Test\\record_start\tc\n");
    EXPECT_EQ(run({"cancel"}).output, "") << "nothing left to drop";
}

TEST(DeviceCommand, PendingOnAnEmptyRootListsNothingAndCreatesNothing)
{
    DeviceTree tree;
    auto listed = run_bounded({TICKVANE_DEVICE_EXE, "--root=" + tree.root(), "pending"}, environment_with({}), 5000ms);
    EXPECT_EQ(listed.exit_code, 0);
    EXPECT_EQ(listed.output, "");
    EXPECT_FALSE(std::filesystem::exists(tickvane::device::notify::database_path(tree.root())));
}

// A root the device cannot use, named by the environment (--root itself must be a
// folder): both commands name the real cause and fail.
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
        {missing, "pending", "No such file or directory"},
        {missing, "service", "No such file or directory"},  // never made where a variable points
    };
    for (const auto& c : cases) {
        auto outcome = run_bounded({TICKVANE_DEVICE_EXE, c.command},
                                   environment_with({"TICKVANE_DEVICE_ROOT=" + c.root}), 5000ms);
        EXPECT_EQ(outcome.exit_code, 1) << c.command << " " << c.root << ": " << outcome.output;
        EXPECT_NE(outcome.output.find("cannot use the device root " + c.root), std::string::npos) << outcome.output;
        EXPECT_NE(outcome.output.find(c.cause), std::string::npos) << outcome.output;
    }
}

TEST(DeviceCommand, EveryWrongUsageSaysWhatAndExitsWithTwo)
{
    const struct {
        std::vector<std::string> args;
        std::string says;
    } bad[] = {
        {{}, "no command given"},
        {{"bogus"}, "unknown command 'bogus'"},
        {{"--frob", "pending"}, "unknown option '--frob'"},
        {{"--root"}, "--root needs a folder"},
        {{"service", "--root"}, "--root needs a folder"},
        {{"--root=", "pending"}, "--root needs a folder"},
        {{"--root", "/tmp"}, "no command given"},
        {{"--root", "/no/such/dir", "service"}, "--root /no/such/dir: no such folder"},
        {{"--root=/etc/hostname", "pending"}, "no such folder"},
        {{"service", "pending"}, "one command at a time"},
        {{"pending", "x"}, "unexpected argument 'x': 'pending' takes no arguments"},
        {{"status", "extra"}, "unexpected argument 'extra'"},
        {{"cancel", "a", "b"}, "unexpected argument 'b': 'cancel' takes one PROGRAM at most"},
        {{"pending", "--run", "x"}, "--run goes with the service command"},
        {{"service", "--run"}, "--run needs a program"},
    };
    for (const auto& [args, says] : bad) {
        std::vector<std::string> argv{TICKVANE_DEVICE_EXE};
        argv.insert(argv.end(), args.begin(), args.end());
        auto outcome = run_bounded(argv, environment_with({}), 5000ms);
        EXPECT_EQ(outcome.exit_code, 2) << says;
        EXPECT_NE(outcome.output.find(says), std::string::npos) << outcome.output;
        EXPECT_NE(outcome.output.find("usage: tickvane-device"), std::string::npos) << outcome.output;
    }
    EXPECT_FALSE(std::filesystem::exists("/no/such/dir"));
}

TEST(DeviceCommand, HelpNamesEveryCommandAndOptionOnALineOfItsOwnAndVersionAnswers)
{
    auto help = run_bounded({TICKVANE_DEVICE_EXE, "--help"}, environment_with({}), 5000ms);
    EXPECT_EQ(help.exit_code, 0);
    for (std::string item : {"service", "pending", "status", "stop", "cancel [PROGRAM]", "install-autostart",
                             "remove-autostart", "--root DIR", "--help", "--version"})
        EXPECT_NE(help.output.find(" " + item + "  "), std::string::npos) << item << " missing from\n" << help.output;
    auto version = run_bounded({TICKVANE_DEVICE_EXE, "--version"}, environment_with({}), 5000ms);
    EXPECT_EQ(version.exit_code, 0);
    EXPECT_EQ(version.output.rfind("tickvane-device ", 0), 0u) << version.output;
    EXPECT_GT(version.output.size(), std::string("tickvane-device \n").size()) << version.output;
}

TEST(DeviceCommand, StopEndsTheTreesServiceAndStatusFollows)
{
    DeviceTree tree;
    auto command = [&](const char* what) {
        return run_bounded({TICKVANE_DEVICE_EXE, "--root", tree.root(), what}, environment_with({}), 10000ms);
    };
    EXPECT_EQ(command("status").exit_code, 3);
    EXPECT_EQ(command("stop").exit_code, 1) << "no service of the tree ended";
    tickvane::e2e::Child service = tree.run_service();
    ASSERT_TRUE(tree.wait_for_service(5000ms)) << service.output();
    auto status = command("status");
    EXPECT_EQ(status.exit_code, 0);
    EXPECT_NE(status.output.find(std::to_string(service.pid())), std::string::npos) << status.output;

    // The service is asked, not its lock file: emptied, it changes nothing.
    std::ofstream(tickvane::device::notify::service_lock_path(tree.root()), std::ios::trunc).close();
    EXPECT_EQ(command("status").exit_code, 0);
    auto stop = command("stop");
    EXPECT_EQ(stop.exit_code, 0) << stop.output;
    std::optional<int> code = service.wait_exit(1000ms);
    ASSERT_TRUE(code.has_value()) << "the service outlived the stop command";
    EXPECT_EQ(*code, 0) << service.output();
    EXPECT_EQ(command("status").exit_code, 3);
    EXPECT_FALSE(std::filesystem::exists(tree.root() + "/.device/service.sock")) << "its address went with it";
}

// A package upgrade replaces the file of a running service: it is still the tree's
// service, which status finds and stop ends.
TEST(DeviceCommand, AServiceWhoseFileWasReplacedIsStillFoundAndStopped)
{
    DeviceTree tree;
    std::string copy = tree.root() + "/tickvane-device";
    std::filesystem::copy_file(TICKVANE_DEVICE_EXE, copy);
    tickvane::e2e::Child service({copy, "--root", tree.root(), "service"}, environment_with({}));
    ASSERT_TRUE(tree.wait_for_service(5000ms)) << service.output();
    std::filesystem::remove(copy);
    std::filesystem::copy_file(TICKVANE_DEVICE_EXE, copy);  // the new version, a new file

    auto status = run_bounded({copy, "--root", tree.root(), "status"}, environment_with({}), 10000ms);
    EXPECT_EQ(status.exit_code, 0) << status.output;
    auto stop = run_bounded({copy, "--root", tree.root(), "stop"}, environment_with({}), 10000ms);
    EXPECT_NE(stop.output.find("stopped"), std::string::npos) << stop.output;
    EXPECT_TRUE(service.wait_exit(1000ms).has_value()) << "the service outlived the stop command";
}

}  // namespace
