// Registrations from several processes at once, and from processes killed in the
// middle of registering: every registration that was confirmed is kept or started,
// and the database stays sound.
#include <gtest/gtest.h>

#include <algorithm>
#include <poll.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <set>
#include <stdexcept>
#include <string>

#include "notify/due_time.h"
#include "notify/notification_store.h"
#include "service_fixture.h"
#include "testing.h"

using namespace tickvane::service_test;
using namespace std::chrono_literals;
namespace testing_ = tickvane::device::testing;

namespace {

std::string integrity(const std::string& root)
{
    sqlite3* db = nullptr;
    std::string result = "cannot open";
    if (sqlite3_open_v2(tickvane::device::notify::database_path(root).c_str(), &db, SQLITE_OPEN_READONLY, nullptr) ==
        SQLITE_OK) {
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &st, nullptr) == SQLITE_OK &&
            sqlite3_step(st) == SQLITE_ROW)
            result = (const char*)sqlite3_column_text(st, 0);
        sqlite3_finalize(st);
    }
    sqlite3_close(db);
    return result;
}

// Forks a child that waits for the `go` pipe to close, then registers `count` starts (or
// until killed when count is 0), writing "<argument>\n" to `confirmed` after each
// one the device accepted. Due times alternate between past and an hour ahead.
pid_t registering_child(const int go[2], int confirmed, int child, int count)
{
    pid_t pid = fork();
    if (pid != 0)
        return pid;
    close(go[1]);
    char byte;
    while (read(go[0], &byte, 1) > 0) {
    }
    time_t now = time(nullptr);
    int failures = 0;
    for (int i = 0; count == 0 || i < count; ++i) {
        char argument[32];
        int n = std::snprintf(argument, sizeof argument, "c%d-%d\n", child, i);
        std::u16string wide(argument, argument + n - 1);
        if (register_start(local_time_at(i % 2 ? now + 3600 : now - 1), wide) == nullptr)
            ++failures;
        else if (write(confirmed, argument, (size_t)n) != n)
            ++failures;
    }
    _exit(failures == 0 ? 0 : 1);
}

// `count` children registering `each` starts (0: until killed), let go at once:
// their pids, and the pipe's end they confirm each accepted registration on.
struct Registering {
    std::vector<pid_t> pids;
    int confirmed = -1;
};

Registering start_registering(int count, int each)
{
    int go[2], confirmed[2];
    if (pipe(go) != 0 || pipe(confirmed) != 0)
        throw std::runtime_error("no pipe");
    Registering r;
    for (int child = 0; child < count; ++child)
        r.pids.push_back(registering_child(go, confirmed[1], child, each));
    close(go[0]);
    close(confirmed[1]);
    close(go[1]);  // all start now
    r.confirmed = confirmed[0];
    return r;
}

// What `fd` gives until it has held `count` lines, or `limit` has passed.
std::string first_lines(int fd, size_t count, std::chrono::milliseconds limit)
{
    std::string text;
    char buffer[4096];
    auto until = std::chrono::steady_clock::now() + limit;
    while ((size_t)std::count(text.begin(), text.end(), '\n') < count && std::chrono::steady_clock::now() < until) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, 100) <= 0)
            continue;
        ssize_t n = read(fd, buffer, sizeof buffer);
        if (n <= 0)
            break;
        text.append(buffer, (size_t)n);
    }
    return text;
}

// Every line of `fd` until its end, after those already read into `text`.
std::set<std::string> read_lines(int fd, std::string text = "")
{
    std::set<std::string> lines;
    char buffer[4096];
    for (ssize_t n; (n = read(fd, buffer, sizeof buffer)) > 0;)
        text.append(buffer, (size_t)n);
    for (size_t at = 0, end; (end = text.find('\n', at)) != std::string::npos; at = end + 1)
        lines.insert(text.substr(at, end - at));
    return lines;
}

int exit_code(pid_t pid)
{
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

TEST(ConcurrentRegistration, TwoProcessesRegisteringAtOnceAreAllStored)
{
    DeviceTree tree;
    Registering two = start_registering(2, 50);
    std::set<std::string> accepted = read_lines(two.confirmed);
    close(two.confirmed);
    for (pid_t pid : two.pids)
        EXPECT_EQ(exit_code(pid), 0);
    EXPECT_EQ(accepted.size(), 100u);
    auto rows = testing_::pending();
    std::set<std::string> stored;
    for (const auto& r : rows)
        stored.insert(r.arguments);
    EXPECT_EQ(rows.size(), 100u);
    EXPECT_EQ(stored, accepted);
}

// A device tree used for the first time by several processes at once: none of
// them is refused for another having made the store's folder or file first.
TEST(ConcurrentRegistration, FirstUseByEightProcessesAtOnceRefusesNone)
{
    for (int round = 0; round < 10; ++round) {
        DeviceTree tree;
        std::filesystem::remove_all(tree.root() + "/.device");
        Registering eight = start_registering(8, 2);
        std::set<std::string> accepted = read_lines(eight.confirmed);
        close(eight.confirmed);
        for (pid_t pid : eight.pids)
            EXPECT_EQ(exit_code(pid), 0) << "round " << round;
        EXPECT_EQ(accepted.size(), 16u) << "round " << round;
        EXPECT_EQ(testing_::pending().size(), 16u) << "round " << round;
    }
}

TEST(ConcurrentRegistration, ProcessesKilledWhileRegisteringLoseNothing)
{
    DeviceTree tree;
    auto service = tree.run_service();
    ASSERT_TRUE(tree.wait_for_service(3000ms)) << service.output();
    Registering three = start_registering(3, 0);
    // Killed once enough have been accepted to tell anything, each wherever it is then.
    std::string before = first_lines(three.confirmed, 11, 30000ms);
    for (pid_t pid : three.pids)
        kill(pid, SIGKILL);
    for (pid_t pid : three.pids)
        EXPECT_EQ(exit_code(pid), 128 + SIGKILL);
    std::set<std::string> accepted = read_lines(three.confirmed, before);
    close(three.confirmed);
    ASSERT_GT(accepted.size(), 10u) << "too few registrations to tell anything";

    // The service starts every due one; those an hour ahead stay.
    auto settled = [&] {
        for (const auto& r : testing_::pending())
            if (r.due <= tickvane::device::notify::due_text(local_time_at(time(nullptr))))
                return false;
        return true;
    };
    ASSERT_TRUE(eventually(30000ms, settled)) << service.output();  // slow under the sanitizers
    std::set<std::string> kept, started;
    for (const auto& r : testing_::pending())
        kept.insert(r.arguments);
    auto starts = tree.wait_for_starts(accepted.size() - kept.size(), 3000ms);
    for (const Start& s : starts)
        EXPECT_TRUE(started.insert(s.argument).second) << s.argument << " started twice";
    for (const std::string& a : accepted)
        EXPECT_TRUE(kept.count(a) || started.count(a)) << a << " was confirmed, then lost";
    std::printf("    %zu registrations confirmed before the kill, %zu started, %zu pending\n", accepted.size(),
                started.size(), kept.size());
    EXPECT_EQ(integrity(tree.root()), "ok");
}

}  // namespace
