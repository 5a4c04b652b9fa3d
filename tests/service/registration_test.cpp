// CeSetUserNotificationEx in-process, with no service running: what it refuses, and
// what it stores for the service.
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <regex>
#include <set>

#include "service_fixture.h"
#include "testing.h"

namespace fs = std::filesystem;
using namespace tickvane::service_test;
namespace testing_ = tickvane::device::testing;
using namespace std::chrono_literals;

namespace {

constexpr SYSTEMTIME ok_time{2027, 3, 0, 14, 10, 23, 45, 0};

SYSTEMTIME with(SYSTEMTIME t, WORD SYSTEMTIME::*field, WORD value)
{
    t.*field = value;
    return t;
}

class Registration : public ::testing::Test {
protected:
    DeviceTree tree;

    HANDLE submit(CE_NOTIFICATION_TRIGGER t, HANDLE existing = nullptr)
    {
        SetLastError(0);
        return CeSetUserNotificationEx(existing, &t, nullptr);
    }

    CE_NOTIFICATION_TRIGGER trigger(const SYSTEMTIME& start, char16_t* application)
    {
        CE_NOTIFICATION_TRIGGER t{};
        t.dwSize = sizeof t;
        t.dwType = CNT_TIME;
        t.lpszApplication = application;
        t.lpszArguments = empty;
        t.stStartTime = start;
        return t;
    }

    void expect_refused(const CE_NOTIFICATION_TRIGGER& t, const char* what, HANDLE existing = nullptr)
    {
        EXPECT_EQ(submit(t, existing), nullptr) << what;
        EXPECT_EQ(GetLastError(), (DWORD)ERROR_INVALID_PARAMETER) << what;
    }

    char16_t app[64] = u"Program Files\\Test\\record_start";
    char16_t empty[1] = u"";
};

TEST_F(Registration, RefusesTimesThatDoNotExist)
{
    const SYSTEMTIME bad[] = {
        {2027, 2, 0, 29, 10, 0, 0, 0},  // not a leap year
        {2100, 2, 0, 29, 10, 0, 0, 0},  // centuries are not, unless divisible by 400
        {2028, 2, 0, 30, 10, 0, 0, 0},
        {2027, 4, 0, 31, 10, 0, 0, 0},
        with(ok_time, &SYSTEMTIME::wHour, 24),
        with(ok_time, &SYSTEMTIME::wMinute, 60),
        with(ok_time, &SYSTEMTIME::wMinute, 62),
        with(ok_time, &SYSTEMTIME::wSecond, 60),
        with(ok_time, &SYSTEMTIME::wSecond, 65),
        with(ok_time, &SYSTEMTIME::wMilliseconds, 1000),
        with(ok_time, &SYSTEMTIME::wMonth, 0),
        with(ok_time, &SYSTEMTIME::wMonth, 13),
        with(ok_time, &SYSTEMTIME::wDay, 0),
        with(ok_time, &SYSTEMTIME::wYear, 1600),
        with(ok_time, &SYSTEMTIME::wYear, 30828),
    };
    for (const SYSTEMTIME& t : bad)
        expect_refused(trigger(t, app), describe(t).c_str());
    EXPECT_TRUE(testing_::pending().empty());
}

TEST_F(Registration, AcceptsEveryTimeThatExists)
{
    const SYSTEMTIME good[] = {
        {2028, 2, 0, 29, 23, 59, 59, 999},
        {2000, 2, 0, 29, 0, 0, 0, 0},
        {1601, 1, 0, 1, 0, 0, 0, 0},
        {30827, 12, 0, 31, 23, 59, 59, 999},
        with(ok_time, &SYSTEMTIME::wDayOfWeek, 9),
    };
    std::set<HANDLE> handles;
    for (const SYSTEMTIME& t : good) {
        HANDLE h = submit(trigger(t, app));
        EXPECT_NE(h, nullptr) << describe(t);
        handles.insert(h);
    }
    EXPECT_EQ(handles.size(), std::size(good)) << "each registration has its own handle";
    std::vector<std::string> due;
    for (const auto& p : testing_::pending())
        due.push_back(p.due);
    // Earliest first, the year past 9999 last although its text sorts first.
    EXPECT_EQ(due, (std::vector<std::string>{"1601-01-01 00:00:00", "2000-02-29 00:00:00", "2027-03-14 10:23:45",
                                             "2028-02-29 23:59:59", "30827-12-31 23:59:59"}));
}

TEST_F(Registration, RefusesMalformedRequests)
{
    EXPECT_EQ(CeSetUserNotificationEx(nullptr, nullptr, nullptr), nullptr);
    auto t = trigger(ok_time, app);
    t.dwSize = sizeof t - 4;
    expect_refused(t, "short record");
    t.dwSize = 0;
    expect_refused(t, "no size");
    for (DWORD type : {CNT_EVENT, CNT_PERIOD, CNT_CLASSICTIME, 0}) {
        t = trigger(ok_time, app);
        t.dwType = type;
        expect_refused(t, "not a timed start");
    }
    expect_refused(trigger(ok_time, app), "an update of an existing registration", (HANDLE)1);
    EXPECT_TRUE(testing_::pending().empty());
}

TEST_F(Registration, RefusesApplicationsThatCannotRun)
{
    fs::create_directories(tree.root() + "/Program Files/Test/folder.exe");
    std::ofstream(tree.root() + "/Program Files/Test/data.exe") << "not a program";
    chmod((tree.root() + "/Program Files/Test/data.exe").c_str(), 0644);
    std::ofstream(tree.root() + "/outside.exe") << "";
    chmod((tree.root() + "/outside.exe").c_str(), 0755);
    char16_t none[] = u"Program Files\\Test\\missing.exe", folder[] = u"Program Files\\Test\\folder.exe",
             data[] = u"Program Files\\Test\\data.exe", escape[] = u"Program Files\\..\\..\\outside.exe",
             wildcard[] = u"Program Files\\Test\\record_*";
    expect_refused(trigger(ok_time, nullptr), "no application");
    expect_refused(trigger(ok_time, empty), "empty application");
    for (char16_t* application : {none, folder, data, escape, wildcard})
        expect_refused(trigger(ok_time, application), "not a program under the root");
    EXPECT_TRUE(testing_::pending().empty());
}

TEST_F(Registration, StoresApplicationAndArgumentsAsGiven)
{
    char16_t rooted[] = u"\\PROGRAM FILES\\test\\record_start", arguments[] = u"-x \"two words\" \u6642";
    auto later = trigger({2027, 3, 0, 14, 10, 23, 50, 0}, rooted);
    later.lpszArguments = arguments;
    HANDLE first = submit(later);
    auto earlier = trigger(ok_time, app);
    earlier.lpszArguments = nullptr;  // read as no arguments
    HANDLE second = submit(earlier);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_NE(first, second);
    auto rows = testing_::pending();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].due, "2027-03-14 10:23:45");
    EXPECT_EQ(rows[0].application, "Program Files\\Test\\record_start");
    EXPECT_EQ(rows[0].arguments, "");
    EXPECT_EQ(rows[1].due, "2027-03-14 10:23:50");
    EXPECT_EQ(rows[1].application, "\\PROGRAM FILES\\test\\record_start");
    EXPECT_EQ(rows[1].arguments, "-x \"two words\" \xE6\x99\x82");
}

TEST_F(Registration, HookSeesCheckedRequestsAndMayRefuse)
{
    std::vector<WORD> seen;
    bool accept = false;
    testing_::on_registration([&](const SYSTEMTIME& start) {
        seen.push_back(start.wSecond);
        return accept;
    });
    EXPECT_EQ(submit(trigger(with(ok_time, &SYSTEMTIME::wSecond, 61), app)), nullptr);
    EXPECT_EQ(submit(trigger(with(ok_time, &SYSTEMTIME::wSecond, 1), app)), nullptr);
    EXPECT_TRUE(testing_::pending().empty()) << "a refusal by the hook stores nothing";
    accept = true;
    EXPECT_NE(submit(trigger(with(ok_time, &SYSTEMTIME::wSecond, 2), app)), nullptr);
    EXPECT_EQ(seen, (std::vector<WORD>{1, 2})) << "only requests that passed the checks";
    EXPECT_EQ(testing_::pending().size(), 1u);

    testing_::Options options;
    options.root = tree.root();
    testing_::reset(options);
    EXPECT_NE(submit(trigger(with(ok_time, &SYSTEMTIME::wSecond, 3), app)), nullptr);
    EXPECT_EQ(seen.size(), 2u) << "reset drops the hook";
}

// A store SQLite cannot use is kept under a name with the UTC time, never deleted;
// the registration that met it goes into a fresh store.
TEST_F(Registration, UnsoundStoreIsSetAsideAndTheRequestStored)
{
    const std::string db = tree.root() + "/.device/notifications.db";
    const std::pair<const char*, std::function<void()>> damages[] = {
        {"cut to 100 bytes", [&] { fs::resize_file(db, 100); }},
        {"garbage over the header",
         [&] { std::fstream(db, std::ios::in | std::ios::out | std::ios::binary) << "this is no database at all"; }},
        {"a folder in its place",
         [&] {
             fs::remove(db);
             fs::create_directories(db + "/inside");
         }},
    };
    for (const auto& [what, damage] : damages) {
        ASSERT_NE(submit(trigger(ok_time, app)), nullptr);
        damage();
        ::testing::internal::CaptureStderr();
        EXPECT_NE(submit(trigger(with(ok_time, &SYSTEMTIME::wSecond, 50), app)), nullptr) << what;
        std::string said = ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << what << ": " << said;
        size_t at = said.find(tree.root() + "/.device/notifications-");
        ASSERT_NE(at, std::string::npos) << what << ": the line names the kept file: " << said;
        std::string kept = said.substr(at, said.find(".db", at) + 3 - at);
        EXPECT_TRUE(fs::exists(kept)) << what << ": " << kept;
        EXPECT_TRUE(std::regex_match(fs::path(kept).filename().string(),
                                     std::regex(R"(notifications-\d{8}T\d{6}Z(-\d+)?\.db)")))
            << kept << ": named with the UTC time";
        std::ifstream log(tree.root() + "/.device/service.log");
        std::string logged((std::istreambuf_iterator<char>(log)), std::istreambuf_iterator<char>());
        EXPECT_NE(logged.find(kept), std::string::npos) << what << ": the log says it too";
        auto rows = testing_::pending();
        ASSERT_FALSE(rows.empty()) << what;
        EXPECT_EQ(rows.back().due, "2027-03-14 10:23:50") << what;
    }
}

// Rows SQLite can still read on either side of a damaged page are carried over;
// the service finds the damage when it reads the table at its start.
TEST(ServiceMending, ReadableRowsOfADamagedStoreAreCarriedOver)
{
    DeviceTree tree;
    ASSERT_NE(register_start({2030, 1, 0, 1, 0, 0, 0, 0}, u"first"), nullptr);
    const std::string db = tree.root() + "/.device/notifications.db";
    sqlite3* handle = nullptr;
    ASSERT_EQ(sqlite3_open(db.c_str(), &handle), SQLITE_OK);
    EXPECT_EQ(
        sqlite3_exec(handle,
                     "WITH RECURSIVE n(i) AS (SELECT 2 UNION ALL SELECT i + 1 FROM n WHERE i < 200)"
                     " INSERT INTO notifications (due, application, arguments)"
                     " SELECT '2030-01-01 00:00:00', 'Program Files\\Test\\record_start', printf('%0300d', i) FROM n",
                     nullptr, nullptr, nullptr),
        SQLITE_OK);
    sqlite3_close(handle);
    ASSERT_GT(fs::file_size(db), 20u * 4096);
    {
        std::fstream file(db, std::ios::in | std::ios::out | std::ios::binary);
        file.seekp(10 * 4096);
        file << std::string(4096, '\x5a');
    }
    auto service = tree.run_service();
    ASSERT_TRUE(eventually(5000ms, [&] { return service.output().find("carried") != std::string::npos; }))
        << service.output();
    size_t carried = testing_::pending().size();
    EXPECT_GT(carried, 150u) << service.output();
    EXPECT_LT(carried, 200u) << "a whole page of rows cannot be read";
    EXPECT_NE(service.output().find(std::to_string(carried) + " registration(s) carried"), std::string::npos)
        << service.output();
}

}  // namespace
