// Sharing modes as Windows applies them, within one process and across processes:
// share mode 0 keeps a file to its holder until the handle closes or the holder dies.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "testing.h"
#include "win32.h"

namespace fs = std::filesystem;
namespace device = tickvane::device::testing;

namespace {

constexpr const char16_t* path = u"\\Program Files\\Tickvane\\TimeConfig.dat";
constexpr DWORD read_write = GENERIC_READ | GENERIC_WRITE;
constexpr DWORD share_all = FILE_SHARE_READ | FILE_SHARE_WRITE;

HANDLE open(DWORD access, DWORD share, DWORD disposition = OPEN_ALWAYS)
{
    return CreateFileW(path, access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Whether an open is refused for sharing; one that succeeds is closed again.
bool refused(DWORD access, DWORD share, DWORD disposition = OPEN_ALWAYS)
{
    HANDLE h = open(access, share, disposition);
    if (h == INVALID_HANDLE_VALUE)
        return GetLastError() == ERROR_SHARING_VIOLATION;
    CloseHandle(h);
    return false;
}

class FileSharing : public ::testing::Test {
protected:
    void SetUp() override
    {
        device::reset();
        fs::create_directories(fs::path(device::root()) / "Program Files" / "Tickvane");
        std::ofstream(file(), std::ios::binary) << "4 3";
    }
    static fs::path file() { return fs::path(device::root()) / "Program Files" / "Tickvane" / "TimeConfig.dat"; }
};

TEST_F(FileSharing, ShareModeZeroIsExclusiveBothWays)
{
    HANDLE holder = open(GENERIC_READ, 0);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(refused(GENERIC_READ, share_all));
    EXPECT_TRUE(refused(GENERIC_WRITE, 0));
    EXPECT_FALSE(refused(0, 0));  // no data access: no sharing check, as on Windows
    EXPECT_TRUE(CloseHandle(holder));
    EXPECT_FALSE(refused(GENERIC_WRITE, 0));

    HANDLE sharer = open(GENERIC_READ, share_all);
    ASSERT_NE(sharer, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(refused(GENERIC_READ, 0));  // a late share-0 open is refused too
    EXPECT_TRUE(CloseHandle(sharer));
}

TEST_F(FileSharing, ReadAndWriteSharingFollowWindowsRules)
{
    HANDLE reader = open(GENERIC_READ, FILE_SHARE_READ);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(refused(GENERIC_READ, FILE_SHARE_READ));
    EXPECT_TRUE(refused(GENERIC_WRITE, share_all));        // the reader does not share writing
    EXPECT_TRUE(refused(GENERIC_READ, FILE_SHARE_WRITE));  // the newcomer does not share reading
    EXPECT_TRUE(CloseHandle(reader));

    HANDLE writer = open(read_write, share_all);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(refused(GENERIC_WRITE, share_all));
    EXPECT_TRUE(refused(GENERIC_READ, FILE_SHARE_READ));  // refuses the writer already there
    EXPECT_TRUE(CloseHandle(writer));
}

TEST_F(FileSharing, ARefusedTruncatingOpenLeavesTheContents)
{
    HANDLE holder = open(GENERIC_READ, 0);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(refused(GENERIC_WRITE, 0, CREATE_ALWAYS));
    EXPECT_TRUE(refused(GENERIC_WRITE, 0, TRUNCATE_EXISTING));
    EXPECT_EQ(fs::file_size(file()), 3u);
    EXPECT_TRUE(CloseHandle(holder));
}

// A child process that opens the file with share mode 0, says so through a pipe and
// holds the file until its end of a second pipe closes (or it is killed).
class ExclusiveChild {
public:
    ExclusiveChild()
    {
        if (pipe(ready_) != 0 || pipe(release_) != 0)
            return;
        pid_ = fork();
        if (pid_ == 0)
            run_child();
        close(ready_[1]);
        close(release_[0]);
    }
    ~ExclusiveChild()
    {
        release();
        wait();
    }
    // True when the child holds the file.
    bool holding()
    {
        char answer = 0;
        return pid_ > 0 && read(ready_[0], &answer, 1) == 1 && answer == 'y';
    }
    void release()
    {
        if (release_[1] >= 0)
            close(release_[1]);
        release_[1] = -1;
    }
    void kill_it() { kill(pid_, SIGKILL); }
    void wait()
    {
        if (pid_ > 0)
            waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }

private:
    [[noreturn]] void run_child()
    {
        close(ready_[0]);
        close(release_[1]);
        HANDLE h = open(GENERIC_WRITE, 0);
        char answer = h == INVALID_HANDLE_VALUE ? 'n' : 'y';
        if (write(ready_[1], &answer, 1) != 1)
            _exit(1);
        char ignored = 0;
        while (read(release_[0], &ignored, 1) > 0) {
        }
        _exit(0);  // the handle closes with the process, unflushed, as a crash would leave it
    }

    int ready_[2] = {-1, -1};
    int release_[2] = {-1, -1};
    pid_t pid_ = -1;
};

TEST_F(FileSharing, AnotherProcessHoldingTheFileExclusivelyKeepsUsOut)
{
    ExclusiveChild child;
    ASSERT_TRUE(child.holding());
    EXPECT_TRUE(refused(GENERIC_READ, 0));
    EXPECT_TRUE(refused(GENERIC_READ, share_all));
    EXPECT_TRUE(refused(GENERIC_WRITE, 0, CREATE_ALWAYS));
    EXPECT_EQ(fs::file_size(file()), 3u);
    child.release();
    child.wait();
    EXPECT_FALSE(refused(GENERIC_READ, 0));
}

TEST_F(FileSharing, AKilledHolderReleasesTheFile)
{
    ExclusiveChild child;
    ASSERT_TRUE(child.holding());
    EXPECT_TRUE(refused(GENERIC_WRITE, 0));
    child.kill_it();
    child.wait();
    EXPECT_FALSE(refused(GENERIC_WRITE, 0));
}

TEST_F(FileSharing, AnotherProcessCannotOpenWhatWeHoldExclusively)
{
    HANDLE holder = open(GENERIC_READ, 0);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    {
        ExclusiveChild child;
        EXPECT_FALSE(child.holding());
    }
    EXPECT_TRUE(CloseHandle(holder));
    ExclusiveChild child;
    EXPECT_TRUE(child.holding());
}

}  // namespace
