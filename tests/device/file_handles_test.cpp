// Device files as the clock's settings file uses them, and the Windows answers to
// every other kind of open, seek, read, write and close.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "testing.h"
#include "win32.h"

namespace fs = std::filesystem;
namespace device = tickvane::device::testing;

namespace {

constexpr const char16_t* settings_path = u"\\Program Files\\Tickvane\\TimeConfig.dat";

class DeviceFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        device::reset();
        fs::create_directories(folder());
    }
    static fs::path folder() { return fs::path(device::root()) / "Program Files" / "Tickvane"; }
    static fs::path settings_file() { return folder() / "TimeConfig.dat"; }

    static std::string host_contents(const fs::path& p)
    {
        std::ifstream in(p, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    static void write_host(const fs::path& p, const std::string& bytes) { std::ofstream(p, std::ios::binary) << bytes; }
    static HANDLE open(const char16_t* path, DWORD access, DWORD disposition, DWORD share = 0)
    {
        SetLastError(0xBEEF);
        return CreateFileW(path, access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    }
    static std::string read_at_most(HANDLE h, DWORD n)
    {
        std::string buffer(n, '\0');
        DWORD got = 12345;
        EXPECT_TRUE(ReadFile(h, buffer.data(), n, &got, nullptr));
        buffer.resize(got);
        return buffer;
    }
};

TEST_F(DeviceFiles, OpenAlwaysCreatesAMissingFileEmptyAndReportsAnExistingOne)
{
    HANDLE h = open(settings_path, GENERIC_READ, OPEN_ALWAYS);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    EXPECT_NE(h, nullptr);
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_SUCCESS);
    EXPECT_EQ(read_at_most(h, 3), "");
    EXPECT_TRUE(CloseHandle(h));
    ASSERT_TRUE(fs::exists(settings_file()));
    EXPECT_EQ(fs::file_size(settings_file()), 0u);

    h = open(settings_path, GENERIC_READ, OPEN_ALWAYS);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_ALREADY_EXISTS);
    EXPECT_TRUE(CloseHandle(h));
}

TEST_F(DeviceFiles, ReadsAtMostWhatIsAskedAndShortAtTheEnd)
{
    write_host(settings_file(), "4 3 and more");
    HANDLE h = open(settings_path, GENERIC_READ, OPEN_ALWAYS);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    EXPECT_EQ(SetFilePointer(h, 0, nullptr, FILE_BEGIN), 0u);
    EXPECT_EQ(read_at_most(h, 3), "4 3");
    EXPECT_TRUE(CloseHandle(h));

    write_host(settings_file(), "4");
    h = open(settings_path, GENERIC_READ, OPEN_ALWAYS);
    EXPECT_EQ(read_at_most(h, 3), "4");
    EXPECT_EQ(read_at_most(h, 3), "");  // at the end: success, nothing read
    EXPECT_TRUE(CloseHandle(h));
}

TEST_F(DeviceFiles, WritingThreeBytesAtTheStartKeepsTheRest)
{
    write_host(settings_file(), "9 9 old tail");
    HANDLE h = open(settings_path, GENERIC_WRITE, OPEN_ALWAYS);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_ALREADY_EXISTS);
    EXPECT_EQ(SetFilePointer(h, 0, nullptr, FILE_BEGIN), 0u);
    DWORD written = 0;
    EXPECT_TRUE(WriteFile(h, "2 1", 3, &written, nullptr));
    EXPECT_EQ(written, 3u);
    EXPECT_TRUE(CloseHandle(h));
    EXPECT_EQ(host_contents(settings_file()), "2 1 old tail");
}

TEST_F(DeviceFiles, AMissingFolderFailsAndNothingIsCreated)
{
    fs::remove_all(folder());
    for (DWORD disposition : {(DWORD)OPEN_ALWAYS, (DWORD)CREATE_ALWAYS, (DWORD)CREATE_NEW, (DWORD)OPEN_EXISTING}) {
        EXPECT_EQ(open(settings_path, GENERIC_WRITE, disposition), INVALID_HANDLE_VALUE);
        EXPECT_EQ(GetLastError(), (DWORD)ERROR_PATH_NOT_FOUND) << disposition;
    }
    EXPECT_FALSE(fs::exists(folder()));

    fs::create_directories(folder());
    EXPECT_EQ(open(settings_path, GENERIC_READ, OPEN_EXISTING), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(open(settings_path, GENERIC_WRITE, TRUNCATE_EXISTING), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(fs::exists(settings_file()));
}

TEST_F(DeviceFiles, DispositionsOnAnExistingFile)
{
    write_host(settings_file(), "keep");
    EXPECT_EQ(open(settings_path, GENERIC_WRITE, CREATE_NEW), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_FILE_EXISTS);
    EXPECT_EQ(open(settings_path, GENERIC_READ, TRUNCATE_EXISTING), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_INVALID_PARAMETER);  // truncating needs write access
    EXPECT_EQ(open(settings_path, GENERIC_READ, 0), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_INVALID_PARAMETER);
    EXPECT_EQ(open(settings_path, GENERIC_READ, 6), INVALID_HANDLE_VALUE);
    EXPECT_EQ(host_contents(settings_file()), "keep");

    HANDLE h = open(settings_path, GENERIC_WRITE, CREATE_ALWAYS);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_ALREADY_EXISTS);
    EXPECT_TRUE(CloseHandle(h));
    EXPECT_EQ(host_contents(settings_file()), "");

    write_host(settings_file(), "again");
    h = open(settings_path, GENERIC_WRITE, TRUNCATE_EXISTING);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(CloseHandle(h));
    EXPECT_EQ(host_contents(settings_file()), "");

    h = open(u"\\Program Files\\Tickvane\\New.dat", GENERIC_WRITE, CREATE_NEW);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_SUCCESS);
    EXPECT_TRUE(CloseHandle(h));
    EXPECT_TRUE(fs::exists(folder() / "New.dat"));
}

TEST_F(DeviceFiles, PathsMatchIgnoringCaseAndNeverLeaveTheRoot)
{
    write_host(settings_file(), "1 2");
    HANDLE h = open(u"program files\\TICKVANE\\timeconfig.DAT", GENERIC_READ, OPEN_EXISTING);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    EXPECT_EQ(read_at_most(h, 3), "1 2");
    EXPECT_TRUE(CloseHandle(h));

    const fs::path outside = fs::path(device::root()).parent_path() / "tickvane-escaped.dat";
    EXPECT_EQ(open(u"\\Program Files\\..\\..\\tickvane-escaped.dat", GENERIC_WRITE, OPEN_ALWAYS), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_PATH_NOT_FOUND);
    EXPECT_FALSE(fs::exists(outside));

    for (const char16_t* bad : {u"", u"\\", u"\\Program Files\\a|b", u"\\Program Files\\Tickvane\\x?.dat"}) {
        EXPECT_EQ(open(bad, GENERIC_WRITE, OPEN_ALWAYS), INVALID_HANDLE_VALUE);
        EXPECT_EQ(GetLastError(), (DWORD)ERROR_PATH_NOT_FOUND);
    }
    EXPECT_EQ(open(nullptr, GENERIC_READ, OPEN_EXISTING), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_PATH_NOT_FOUND);

    EXPECT_EQ(open(u"\\Program Files\\Tickvane", GENERIC_READ, OPEN_EXISTING), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_ACCESS_DENIED);  // a folder is no file
    EXPECT_EQ(open(u"\\Program Files\\Tickvane", GENERIC_WRITE, OPEN_ALWAYS), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_ACCESS_DENIED);
}

TEST_F(DeviceFiles, AHandleDoesOnlyWhatItWasOpenedFor)
{
    write_host(settings_file(), "abc");
    HANDLE reader = open(settings_path, GENERIC_READ, OPEN_EXISTING, FILE_SHARE_READ | FILE_SHARE_WRITE);
    HANDLE writer = open(settings_path, GENERIC_WRITE, OPEN_EXISTING, FILE_SHARE_READ | FILE_SHARE_WRITE);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    EXPECT_NE(reader, writer);

    DWORD n = 99;
    char buffer[4] = {};
    EXPECT_FALSE(WriteFile(reader, "xyz", 3, &n, nullptr));
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_ACCESS_DENIED);
    EXPECT_EQ(n, 0u);
    n = 99;
    EXPECT_FALSE(ReadFile(writer, buffer, 3, &n, nullptr));
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_ACCESS_DENIED);
    EXPECT_EQ(n, 0u);
    EXPECT_FALSE(ReadFile(reader, buffer, 3, nullptr, nullptr));  // no count, no overlapped
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_INVALID_PARAMETER);
    EXPECT_FALSE(ReadFile(reader, nullptr, 3, &n, nullptr));
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_INVALID_PARAMETER);
    EXPECT_TRUE(WriteFile(writer, "", 0, &n, nullptr));
    EXPECT_EQ(n, 0u);
    EXPECT_TRUE(CloseHandle(reader));
    EXPECT_TRUE(CloseHandle(writer));
    EXPECT_EQ(host_contents(settings_file()), "abc");
}

TEST_F(DeviceFiles, FilePointerMovesAsOnWindows)
{
    write_host(settings_file(), "abcdef");
    HANDLE h = open(settings_path, GENERIC_READ | GENERIC_WRITE, OPEN_EXISTING);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    EXPECT_EQ(SetFilePointer(h, -2, nullptr, FILE_END), 4u);
    EXPECT_EQ(read_at_most(h, 5), "ef");
    EXPECT_EQ(SetFilePointer(h, -3, nullptr, FILE_CURRENT), 3u);

    SetLastError(0);
    EXPECT_EQ(SetFilePointer(h, -10, nullptr, FILE_CURRENT), INVALID_SET_FILE_POINTER);
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_NEGATIVE_SEEK);
    EXPECT_EQ(read_at_most(h, 1), "d");  // the failed move left the pointer where it was

    EXPECT_EQ(SetFilePointer(h, 0, nullptr, 3), INVALID_SET_FILE_POINTER);
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_INVALID_PARAMETER);

    // With a high part: 4 GiB, and the one success that returns the failure value.
    LONG high = 1;
    EXPECT_EQ(SetFilePointer(h, 0, &high, FILE_BEGIN), 0u);
    EXPECT_EQ(high, 1);
    EXPECT_EQ(read_at_most(h, 3), "");
    high = 0;
    SetLastError(0xBEEF);
    EXPECT_EQ(SetFilePointer(h, -1, &high, FILE_BEGIN), INVALID_SET_FILE_POINTER);
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_SUCCESS);
    EXPECT_EQ(high, 0);
    high = -1;
    EXPECT_EQ(SetFilePointer(h, -1, &high, FILE_BEGIN), INVALID_SET_FILE_POINTER);
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_NEGATIVE_SEEK);

    // Writing past the end extends the file; nothing before the pointer is lost.
    EXPECT_EQ(SetFilePointer(h, 8, nullptr, FILE_BEGIN), 8u);
    DWORD n = 0;
    EXPECT_TRUE(WriteFile(h, "Z", 1, &n, nullptr));
    EXPECT_TRUE(CloseHandle(h));
    EXPECT_EQ(host_contents(settings_file()), std::string("abcdef\0\0Z", 9));
}

TEST_F(DeviceFiles, UnknownAndClosedHandlesAreRefused)
{
    HANDLE h = open(settings_path, GENERIC_READ, OPEN_ALWAYS);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(CloseHandle(h));
    for (HANDLE bad : {h, (HANDLE) nullptr, INVALID_HANDLE_VALUE, (HANDLE)(uintptr_t)0x1234}) {
        SetLastError(0);
        EXPECT_FALSE(CloseHandle(bad));
        EXPECT_EQ(GetLastError(), (DWORD)ERROR_INVALID_HANDLE);
        DWORD n = 7;
        char byte = 0;
        EXPECT_FALSE(ReadFile(bad, &byte, 1, &n, nullptr));
        EXPECT_EQ(n, 0u);
    }

    // A fresh device drops what the old one had open, sharing claims included.
    h = open(settings_path, GENERIC_WRITE, OPEN_ALWAYS);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    device::Options same_root;
    same_root.root = device::root();
    device::reset(same_root);
    EXPECT_FALSE(CloseHandle(h));
    HANDLE again = open(settings_path, GENERIC_WRITE, OPEN_ALWAYS);
    EXPECT_NE(again, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(CloseHandle(again));
}

}  // namespace
