// The device's own settings, read strictly: a value is taken whole or not at all,
// with a line naming it; and the warnings of programs started into the service's
// log, written there once.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "settings/settings.h"
#include "warn_once.h"

using tickvane::device::settings_from_environment;

namespace {

// The settings read with `name` set to `value`, and what was said about it.
tickvane::device::Settings read_with(const char* name, const std::string& value, std::string& said)
{
    setenv(name, value.c_str(), 1);
    setenv("TICKVANE_DEVICE_ROOT", "/tmp", 1);
    ::testing::internal::CaptureStderr();
    auto settings = settings_from_environment("/nowhere/zubo.exe");
    said = ::testing::internal::GetCapturedStderr();
    unsetenv(name);
    return settings;
}

TEST(DeviceSettings, NumbersAreTakenWholeOrNotAtAll)
{
    constexpr int kMonitorZoom = 0;  // no zoom asked for: the desktop window follows the monitor
    const struct {
        const char* name;
        const char* value;
        int width, height, scale;  // the settings that result
    } cases[] = {
        {"TICKVANE_SCALE", "8", 240, 320, 8},
        {"TICKVANE_SCALE", "1", 240, 320, 1},
        {"TICKVANE_SCALE", "2abc", 240, 320, kMonitorZoom},
        {"TICKVANE_SCALE", "3.5", 240, 320, kMonitorZoom},
        {"TICKVANE_SCALE", " 3", 240, 320, kMonitorZoom},
        {"TICKVANE_SCALE", "+3", 240, 320, kMonitorZoom},
        {"TICKVANE_SCALE", "0", 240, 320, kMonitorZoom},
        {"TICKVANE_SCALE", "9", 240, 320, kMonitorZoom},
        {"TICKVANE_SCALE", "4294967299", 240, 320, kMonitorZoom},
        {"TICKVANE_SCREEN", "320x240", 320, 240, kMonitorZoom},
        {"TICKVANE_SCREEN", "480X640", 480, 640, kMonitorZoom},
        {"TICKVANE_SCREEN", "320x240px", 240, 320, kMonitorZoom},
        {"TICKVANE_SCREEN", "320.5x240", 240, 320, kMonitorZoom},
        {"TICKVANE_SCREEN", "320x 240", 240, 320, kMonitorZoom},
        {"TICKVANE_SCREEN", "+320x240", 240, 320, kMonitorZoom},
        {"TICKVANE_SCREEN", "320x", 240, 320, kMonitorZoom},
        {"TICKVANE_SCREEN", "63x240", 240, 320, kMonitorZoom},
    };
    for (const auto& c : cases) {
        std::string said;
        auto s = read_with(c.name, c.value, said);
        std::string what = std::string(c.name) + "=" + c.value;
        EXPECT_EQ(s.screen_width, c.width) << what;
        EXPECT_EQ(s.screen_height, c.height) << what;
        EXPECT_EQ(s.scale, c.scale) << what;
        bool taken = c.width != 240 || c.height != 320 || c.scale != kMonitorZoom;
        EXPECT_EQ(said.find(what) != std::string::npos, !taken) << what << " said: " << said;
    }
    // A size the device cannot have is told apart from one that is not a size at all.
    for (auto [value, why] : {std::pair{"5000x5000", "is out of range (each side 64 to 4096)"},
                              {"99999999999x240", "is out of range"},
                              {"320x", "is not WxH"}}) {
        std::string said;
        read_with("TICKVANE_SCREEN", value, said);
        EXPECT_NE(said.find(std::string(value) + " " + why), std::string::npos) << said;
    }
}

// Where the device lives when no variable says, and which roots it refuses: never a
// shared folder, never one made where a variable points.
TEST(DeviceSettings, TheRootIsTheUsersOwnAbsoluteAndExisting)
{
    const std::string home = getpwuid(geteuid())->pw_dir, here = std::filesystem::current_path().string();
    const char* saved_home = std::getenv("HOME");
    const std::string kept_home = saved_home ? saved_home : "";
    const struct {
        const char *root, *home, *data;  // nullptr: unset
        std::string expected;            // the root, or what the refusal names
        bool refused;
    } cases[] = {
        {nullptr, nullptr, nullptr, home + "/.local/share/tickvane/device", false},
        {nullptr, "/h", nullptr, "/h/.local/share/tickvane/device", false},
        {nullptr, "/h", "/d", "/d/tickvane/device", false},
        {nullptr, nullptr, "relative", home + "/.local/share/tickvane/device", false},
        {".", "/h", nullptr, here, false},
        {"/no/such/root", "/h", nullptr, "cmake --install", true},
        {"/etc/hostname", "/h", nullptr, "Not a directory", true},
    };
    for (const auto& c : cases) {
        for (auto [name, value] :
             {std::pair{"TICKVANE_DEVICE_ROOT", c.root}, {"HOME", c.home}, {"XDG_DATA_HOME", c.data}})
            value ? setenv(name, value, 1) : unsetenv(name);
        auto s = settings_from_environment("/nowhere/zubo.exe");
        std::string what = std::string("root ") + (c.root ? c.root : "-") + ", home " + (c.home ? c.home : "-");
        EXPECT_EQ(!s.refusal.empty(), c.refused) << what << ": " << s.refusal;
        EXPECT_NE((c.refused ? s.refusal : s.root).find(c.expected), std::string::npos) << what << ": " << s.root;
        if (c.root == nullptr) {  // a default root is never a shared folder (a named one may be anywhere)
            EXPECT_EQ(s.root.find("/tmp"), std::string::npos) << what;
        }
    }
    setenv("HOME", kept_home.c_str(), 1);
    unsetenv("XDG_DATA_HOME");
}

// The clock started straight from the build folder runs on a device tree there:
// the build folder is its root, holding the clock where it registers itself.
TEST(DeviceSettings, TheBuildFolderIsTheBuiltClocksDeviceTree)
{
    unsetenv("TICKVANE_DEVICE_ROOT");
    auto settings = settings_from_environment(ZUBO_EXE);
    std::filesystem::path build = std::filesystem::path(ZUBO_EXE).parent_path();
    EXPECT_TRUE(std::filesystem::equivalent(settings.root, build)) << settings.root;
    EXPECT_TRUE(std::filesystem::equivalent(build / "Program Files/Tickvane/zubo.exe", ZUBO_EXE));
    EXPECT_TRUE(std::filesystem::exists(build / "tickvane-device")) << "the service a registration starts";
}

// Two appearances of a program whose stderr is the service's log, each repeating
// the same warning: the log holds it once, and other lines as written.
TEST(DeviceLog, ALineTheLogHoldsIsNotWrittenAgain)
{
    std::string log = (std::filesystem::temp_directory_path() / ("tickvane-log-" + std::to_string(getpid()))).string();
    for (int appearance = 0; appearance < 2; ++appearance) {
        pid_t pid = fork();
        if (pid == 0) {
            int fd = open(log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
            dup2(fd, 2);
            tickvane::warn_once("tickvane: a repeated warning");
            tickvane::warn_once("tickvane: a repeated warning");
            std::fprintf(stderr, "tickvane: appearance %d\n", appearance);
            std::fflush(stderr);
            _exit(0);
        }
        int status = 0;
        waitpid(pid, &status, 0);
    }
    std::ifstream in(log);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::filesystem::remove(log);
    EXPECT_EQ(text, "tickvane: a repeated warning\ntickvane: appearance 0\ntickvane: appearance 1\n");
}

}  // namespace
