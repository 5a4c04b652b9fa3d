// The device's file system as a user's tree over the installed image: reads fall
// through to the image, every write lands in the user's tree, and the image stays
// as it was installed.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "files/device_path.h"
#include "settings/device_image.h"
#include "testing.h"
#include "win32.h"

namespace fs = std::filesystem;
namespace device = tickvane::device::testing;

namespace {

std::string contents(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void put(const fs::path& p, const std::string& bytes)
{
    fs::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary) << bytes;
}

class DeviceImage : public ::testing::Test {
protected:
    void SetUp() override
    {
        device::reset();
        image_ = fs::path(device::root()).parent_path() / (fs::path(device::root()).filename().string() + "-image");
        put(image_ / "Program Files" / "Tickvane" / "zubo.exe", "clock 1");
        put(image_ / "Program Files" / "Tickvane" / "readme.txt", "from the image");
        device::Options options;
        options.root = device::root();
        options.image = image_.string();
        device::reset(options);
    }
    void TearDown() override { fs::remove_all(image_); }
    fs::path mine(const std::string& relative) const { return fs::path(device::root()) / relative; }

    // What CreateFileW gives: the handle's first bytes, or "error N".
    static std::string open_and_read(const char16_t* path, DWORD access, DWORD disposition)
    {
        HANDLE h = CreateFileW(path, access, 0, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE)
            return "error " + std::to_string(GetLastError());
        std::string buffer(64, '\0');
        DWORD got = 0;
        SetFilePointer(h, 0, nullptr, FILE_BEGIN);
        ReadFile(h, buffer.data(), (DWORD)buffer.size(), &got, nullptr);
        CloseHandle(h);
        return buffer.substr(0, got);
    }

    fs::path image_;
};

TEST_F(DeviceImage, ReadsFallThroughToTheImageAndWritesLandInTheUsersTree)
{
    const std::string not_found = "error " + std::to_string(ERROR_PATH_NOT_FOUND);
    const std::string exists = "error " + std::to_string(ERROR_FILE_EXISTS);
    const struct {
        const char16_t* path;
        DWORD access, disposition;
        std::string read;       // what the handle reads, or the error
        const char* user_file;  // what the user's tree then holds there ("" for nothing)
    } steps[] = {
        // the packaged clock, found whatever the case, copied nowhere
        {u"\\program files\\TICKVANE\\zubo.exe", GENERIC_READ, OPEN_EXISTING, "clock 1", ""},
        // a new file: the folders the image holds are made in the user's tree, spelt as there
        {u"\\Program Files\\Tickvane\\TimeConfig.dat", GENERIC_WRITE | GENERIC_READ, CREATE_ALWAYS, "",
         "Program Files/Tickvane/TimeConfig.dat"},
        // an image file opened for writing is the user's copy from then on
        {u"\\Program Files\\Tickvane\\readme.txt", GENERIC_READ | GENERIC_WRITE, OPEN_EXISTING, "from the image",
         "Program Files/Tickvane/readme.txt"},
        {u"\\Program Files\\Tickvane\\zubo.exe", GENERIC_READ, CREATE_NEW, exists, ""},
        // a folder neither holds is not made up
        {u"\\Nowhere\\file.txt", GENERIC_WRITE, CREATE_ALWAYS, not_found, ""},
    };
    for (const auto& s : steps) {
        std::string what = fs::path(std::u16string(s.path)).string();
        EXPECT_EQ(open_and_read(s.path, s.access, s.disposition), s.read) << what;
        if (*s.user_file) {
            EXPECT_TRUE(fs::is_regular_file(mine(s.user_file))) << what;
        }
    }
    EXPECT_FALSE(fs::exists(mine("Program Files/Tickvane/zubo.exe")));
    EXPECT_FALSE(fs::exists(mine("Nowhere")));

    // The user's copy answers from now on; the image keeps what it was installed with.
    put(mine("Program Files/Tickvane/readme.txt"), "the user's");
    EXPECT_EQ(open_and_read(u"\\Program Files\\Tickvane\\readme.txt", GENERIC_READ, OPEN_EXISTING), "the user's");
    EXPECT_EQ(contents(image_ / "Program Files" / "Tickvane" / "readme.txt"), "from the image");
    EXPECT_FALSE(fs::exists(image_ / "Program Files" / "Tickvane" / "TimeConfig.dat"));
}

TEST_F(DeviceImage, AnUpgradedImageAnswersForWhatTheUserNeverWrote)
{
    auto clock = tickvane::device::readable_path(device::root(), image_.string(), u"Program Files\\Tickvane\\zubo.exe");
    ASSERT_TRUE(clock);
    EXPECT_EQ(*clock, image_ / "Program Files" / "Tickvane" / "zubo.exe");
    put(*clock, "clock 2");
    EXPECT_EQ(open_and_read(u"\\Program Files\\Tickvane\\zubo.exe", GENERIC_READ, OPEN_EXISTING), "clock 2");
}

// A tree of one's own (a checkout's, a build folder) is no image; one the user may not
// write is, whatever it is called.
TEST(InstalledImage, IsATreeAboveTheProgramThatTheUserMayNotWrite)
{
    fs::path tree = fs::path(device::root()).parent_path() / ("image-test-" + std::to_string(getpid()));
    put(tree / "Program Files" / "Tickvane" / "zubo.exe", "");
    std::string exe = (tree / "Program Files" / "Tickvane" / "zubo.exe").string();
    EXPECT_EQ(tickvane::device::installed_image(exe), "");
    EXPECT_EQ(tickvane::device::installed_image("/nowhere/zubo.exe"), "");
    fs::permissions(tree, fs::perms::owner_write, fs::perm_options::remove);
    if (geteuid() != 0) {  // root may write anything
        EXPECT_EQ(tickvane::device::installed_image(exe), fs::canonical(tree).string());
    }
    fs::permissions(tree, fs::perms::owner_write, fs::perm_options::add);
    fs::remove_all(tree);
}

}  // namespace
