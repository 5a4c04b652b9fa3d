// The resident service as a process: it starts registered programs at their second,
// also those that fell due while it was not running, survives being killed, runs
// once per root, and is started by a registration when none runs.
#include <gtest/gtest.h>
#include <signal.h>

#include <algorithm>
#include <cstdio>
#include <dirent.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <thread>

#include "notify/due_time.h"
#include "notify/notification_store.h"
#include "notify/service_address.h"
#include "service_fixture.h"
#include "testing.h"

using namespace tickvane::service_test;
using namespace std::chrono_literals;
namespace testing_ = tickvane::device::testing;
namespace fs = std::filesystem;

namespace {

std::vector<std::string> arguments_of(const std::vector<Start>& starts)
{
    std::vector<std::string> out;
    for (const Start& s : starts)
        out.push_back(s.argument);
    std::sort(out.begin(), out.end());
    return out;
}

// Children of `parent` still present, zombies included.
int children_of(pid_t parent)
{
    int n = 0;
    DIR* proc = opendir("/proc");
    for (dirent* e; proc && (e = readdir(proc));) {
        std::ifstream stat(std::string("/proc/") + e->d_name + "/stat");
        std::string line;
        if (!std::getline(stat, line) || line.rfind(')') == std::string::npos)
            continue;
        char state = 0;
        int ppid = 0;
        if (std::sscanf(line.c_str() + line.rfind(')') + 1, " %c %d", &state, &ppid) == 2 && ppid == parent)
            ++n;
    }
    if (proc)
        closedir(proc);
    return n;
}

TEST(Service, StartsTheProgramAtTheRegisteredSecondAndCollectsIt)
{
    DeviceTree tree;
    auto service = tree.run_service();
    ASSERT_TRUE(tree.wait_for_service(3000ms)) << service.output();
    time_t due = second_ahead(1200ms);
    ASSERT_NE(register_start(local_time_at(due), u"on-time"), nullptr);
    auto starts = tree.wait_for_starts(1, 4000ms);
    ASSERT_EQ(starts.size(), 1u) << service.output();
    EXPECT_EQ(starts[0].argument, "on-time");
    double late_ms = (double)(starts[0].ns - (int64_t)due * 1000000000) / 1e6;
    std::printf("    launch lateness: %.2f ms after the registered second began\n", late_ms);
    EXPECT_GE(late_ms, 0.0) << "started before its second";
    EXPECT_LT(late_ms, 1000.0);
    EXPECT_TRUE(eventually(1000ms, [] { return testing_::pending().empty(); })) << "a started registration stays";
    EXPECT_TRUE(eventually(2000ms, [&] { return children_of(service.pid()) == 0; })) << "the started program was "
                                                                                        "not collected";
    EXPECT_FALSE(service.wait_exit(0ms)) << "the service ended: " << service.output();
}

// The registering process died between its commit and the wake-up: the service
// notices the row by itself.
TEST(Service, StartsACommittedRegistrationNobodyAnnounced)
{
    DeviceTree tree;
    auto service = tree.run_service();
    ASSERT_TRUE(tree.wait_for_service(3000ms)) << service.output();
    time_t due = second_ahead(1200ms);
    std::string error;
    auto store = tickvane::device::notify::NotificationStore::open(tree.root(), true, error);
    ASSERT_TRUE(store) << error;
    ASSERT_TRUE(store->add(tickvane::device::notify::due_text(local_time_at(due)), "Program Files\\Test\\record_start",
                           "unannounced"));
    store.reset();
    auto starts = tree.wait_for_starts(1, 4000ms);
    ASSERT_EQ(starts.size(), 1u) << service.output();
    EXPECT_EQ(starts[0].argument, "unannounced");
    EXPECT_LT(starts[0].ns - (int64_t)due * 1000000000, 1000000000) << "within a second of its time";
}

TEST(Service, StartsOverdueRegistrationsAtOnceAndEachIdenticalOneOnce)
{
    DeviceTree tree;
    fs::copy_file(RECORD_START_EXE, tree.root() + "/Program Files/Test/gone");
    time_t now = time(nullptr);
    for (const char16_t* argument : {u"same", u"same", u"other"})
        ASSERT_NE(register_start(local_time_at(now - 3600), argument), nullptr);
    ASSERT_NE(register_start(local_time_at(now - 60), u"", u"Program Files\\Test\\gone"), nullptr);
    ASSERT_NE(register_start(local_time_at(now + 3600), u"later"), nullptr);
    fs::remove(tree.root() + "/Program Files/Test/gone");

    auto service = tree.run_service();
    ASSERT_TRUE(eventually(3000ms, [&] { return testing_::pending().size() == 1; })) << service.output();
    EXPECT_EQ(testing_::pending()[0].arguments, "later");
    tree.wait_for_starts(3, 300ms);  // a third start would be a duplicate: give it time to show
    EXPECT_EQ(arguments_of(tree.starts()), (std::vector<std::string>{"other", "same"}));
    EXPECT_NE(service.output().find("cannot start Program Files\\Test\\gone"), std::string::npos) << service.output();
}

TEST(Service, RegistrationOutlivesAServiceKilledBeforeItsTime)
{
    DeviceTree tree;
    time_t due = second_ahead(1500ms);
    {
        auto first = tree.run_service();
        ASSERT_TRUE(tree.wait_for_service(3000ms)) << first.output();
        ASSERT_NE(register_start(local_time_at(due), u"survivor"), nullptr);
        first.signal(SIGKILL);
        ASSERT_TRUE(first.wait_exit(3000ms));
    }
    EXPECT_EQ(testing_::pending().size(), 1u);
    auto second = tree.run_service();
    auto starts = tree.wait_for_starts(1, 4000ms);
    ASSERT_EQ(starts.size(), 1u) << second.output();
    EXPECT_EQ(starts[0].argument, "survivor");
    EXPECT_GE(starts[0].ns, (int64_t)due * 1000000000);
    EXPECT_TRUE(eventually(1000ms, [] { return testing_::pending().empty(); }));
}

TEST(Service, OneServicePerRoot)
{
    DeviceTree tree, other;
    auto first = tree.run_service();
    auto elsewhere = other.run_service();
    ASSERT_TRUE(tree.wait_for_service(3000ms)) << first.output();
    ASSERT_TRUE(other.wait_for_service(3000ms)) << "a service for another root runs beside it";
    auto second = tickvane::e2e::run_bounded({TICKVANE_DEVICE_EXE, "--root", tree.root(), "service"},
                                             tickvane::e2e::environment_with({}), 3000ms);
    ASSERT_TRUE(second.finished);
    EXPECT_EQ(second.exit_code, 0);
    EXPECT_NE(second.output.find("already runs"), std::string::npos) << second.output;
    EXPECT_EQ(tree.service_pid(), first.pid());
    EXPECT_FALSE(first.wait_exit(0ms)) << "the first one ended";
}

// CPU time used by `pid` so far, in clock ticks.
long cpu_ticks(pid_t pid)
{
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::istringstream fields(text.substr(text.rfind(')') + 2));
    std::string skip;
    for (int i = 3; i < 14; ++i)
        fields >> skip;
    long user = 0, system = 0;
    fields >> user >> system;
    return user + system;
}

// Rows centuries ahead, past the year 9999 and at the last year the API takes:
// once the row before them has started, the service sleeps through them (a spinning
// one uses a tick every 10 ms).
TEST(Service, RowsCenturiesAheadLeaveItAsleep)
{
    DeviceTree tree;
    {
        std::string error;
        auto store = tickvane::device::notify::NotificationStore::open(tree.root(), true, error);
        ASSERT_TRUE(store) << error;
        for (const char* due : {"2319-06-01 00:00:00", "9999-12-31 23:59:59", "30827-12-31 23:59:59"})
            ASSERT_TRUE(store->add(due, "Program Files\\Test\\record_start", "far"));
    }
    auto service = tree.run_service();
    ASSERT_TRUE(tree.wait_for_service(3000ms)) << service.output();
    ASSERT_NE(register_start(local_time_at(second_ahead(1200ms)), u"near"), nullptr);
    auto starts = tree.wait_for_starts(1, 4000ms);
    ASSERT_EQ(arguments_of(starts), std::vector<std::string>{"near"}) << service.output();
    long before = cpu_ticks(service.pid());
    std::this_thread::sleep_for(600ms);  // now the far rows are the next ones
    EXPECT_LT(cpu_ticks(service.pid()) - before, 10) << "it spins";
    EXPECT_EQ(testing_::pending().size(), 3u);
}

TEST(Service, StopsCleanlyOnTerm)
{
    DeviceTree tree;
    auto service = tree.run_service();
    ASSERT_TRUE(tree.wait_for_service(3000ms)) << service.output();
    service.signal(SIGTERM);
    EXPECT_EQ(service.wait_exit(3000ms), 0);
    EXPECT_FALSE(tree.service_pid());
    EXPECT_FALSE(tickvane::device::notify::wake_service(tree.root())) << "its socket is gone";
}

TEST(Service, ARegistrationStartsTheServiceWhenNoneRuns)
{
    DeviceTree tree(true);
    tree.install_service();
    ASSERT_FALSE(tree.service_pid());
    ASSERT_NE(register_start(local_time_at(second_ahead(1200ms)), u"on-demand"), nullptr);
    auto starts = tree.wait_for_starts(1, 5000ms);
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0].argument, "on-demand");
    auto service = tree.service_pid();
    ASSERT_TRUE(service);
    // A second registration wakes the running service instead of starting another.
    ASSERT_NE(register_start(local_time_at(time(nullptr) - 1), u"again"), nullptr);
    EXPECT_EQ(tree.wait_for_starts(2, 3000ms).size(), 2u);
    EXPECT_EQ(tree.service_pid(), service);
    std::ifstream log(tree.root() + "/.device/service.log");
    std::string text((std::istreambuf_iterator<char>(log)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("notification service"), std::string::npos) << text;
}

TEST(Service, RegistrationIsKeptWhenNoServiceCanBeStarted)
{
    DeviceTree tree(true);  // no tickvane-device under the root, nor beside this test
    ::testing::internal::CaptureStderr();
    EXPECT_NE(register_start(local_time_at(time(nullptr) + 60), u"kept"), nullptr);
    std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("could not be started"), std::string::npos) << said;
    EXPECT_EQ(testing_::pending().size(), 1u);
    EXPECT_FALSE(tree.service_pid());
}

// The log of a service started on demand stays bounded: at a megabyte it becomes
// service.log.1, replacing the older one.
TEST(Service, ItsLogIsRotatedAtAMegabyteKeepingOneOldFile)
{
    DeviceTree tree(true);
    tree.install_service();
    const std::string log = tree.root() + "/.device/service.log";
    fs::create_directories(tree.root() + "/.device");
    std::ofstream(log + ".1") << "the oldest\n";
    std::ofstream(log) << std::string(1024 * 1024, 'x') << "\n";
    ASSERT_NE(register_start(local_time_at(time(nullptr) - 1), u"rotated"), nullptr);
    ASSERT_EQ(tree.wait_for_starts(1, 5000ms).size(), 1u);
    auto text = [](const std::string& path) {
        std::ifstream in(path);
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    };
    EXPECT_EQ(text(log + ".1").substr(0, 3), "xxx") << "the full log is the old one now";
    EXPECT_LT(fs::file_size(log), 4096u);
    EXPECT_NE(text(log).find("notification service"), std::string::npos) << text(log);
    EXPECT_FALSE(fs::exists(log + ".2"));
}

}  // namespace
