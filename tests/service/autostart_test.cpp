// tickvane-device install-autostart / remove-autostart: the files a login reads, written
// into a private XDG_CONFIG_HOME and checked with systemd's and freedesktop's own
// validators where they are installed. No user manager runs on the test machine, so
// the login itself is not played.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "notify/autostart.h"
#include "service_fixture.h"

using namespace tickvane::service_test;
using namespace std::chrono_literals;
using tickvane::device::notify::autostart_files;
using tickvane::e2e::environment_with;
using tickvane::e2e::run_bounded;
namespace fs = std::filesystem;

namespace {

std::string read(const std::string& path)
{
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

bool on_path(const std::string& program)
{
    return run_bounded({"sh", "-c", "command -v " + program}, environment_with({}), 5000ms).exit_code == 0;
}

struct ConfigHome {
    ConfigHome()
    {
        std::string pattern = (fs::temp_directory_path() / "tickvane-config-XXXXXX").string();
        path = mkdtemp(pattern.data());
        setenv("XDG_CONFIG_HOME", path.c_str(), 1);  // where autostart_files() looks, as the command does
    }
    ~ConfigHome()
    {
        unsetenv("XDG_CONFIG_HOME");
        fs::remove_all(path);
    }
    std::string path;
};

TEST(Autostart, InstallWritesAValidUnitAndEntryThatRunTheTreesServiceAndRemoveTakesThemAway)
{
    DeviceTree tree;
    tree.install_service();
    ConfigHome config;
    auto command = [&](const char* what) {
        return run_bounded({tree.root() + "/Windows/tickvane-device", "--root", tree.root(), what},
                           environment_with({}), 10000ms);
    };
    auto installed = command("install-autostart");
    ASSERT_EQ(installed.exit_code, 0) << installed.output;

    auto files = autostart_files(tree.root());
    std::string run = "\"" + tree.root() + "/Windows/tickvane-device\" --root \"" + tree.root() + "\" service\n";
    EXPECT_NE(read(files.unit).find("\nExecStart=" + run), std::string::npos) << read(files.unit);
    EXPECT_NE(read(files.desktop).find("\nExec=" + run), std::string::npos) << read(files.desktop);
    EXPECT_NE(read(files.desktop).find("\nX-systemd-skip=true\n"), std::string::npos)
        << "systemd sessions use the unit";
    EXPECT_EQ(fs::canonical(files.unit_link), fs::canonical(files.unit)) << "the unit is not enabled";
    if (on_path("systemd-analyze")) {
        fs::create_directory(config.path + "/run");
        auto verified = run_bounded({"systemd-analyze", "--user", "verify", files.unit},
                                    environment_with({"XDG_RUNTIME_DIR=" + config.path + "/run"}), 20000ms);
        EXPECT_EQ(verified.exit_code, 0) << verified.output;
    }
    if (on_path("desktop-file-validate")) {
        auto validated = run_bounded({"desktop-file-validate", files.desktop}, environment_with({}), 10000ms);
        EXPECT_EQ(validated.exit_code, 0) << validated.output;
    }

    auto removed = command("remove-autostart");
    EXPECT_EQ(removed.exit_code, 0) << removed.output;
    for (const std::string& path : {files.unit, files.unit_link, files.desktop})
        EXPECT_FALSE(fs::exists(fs::symlink_status(path))) << path;
    auto again = command("remove-autostart");
    EXPECT_EQ(again.exit_code, 0);
    EXPECT_NE(again.output.find("nothing was installed"), std::string::npos) << again.output;
}

TEST(Autostart, ARootThatNoUnitFileCanQuoteIsRefusedAndNothingIsWritten)
{
    DeviceTree tree;
    ConfigHome config;
    std::string odd = tree.root() + "/say \"cheese\"";
    fs::create_directory(odd);
    auto refused = run_bounded({TICKVANE_DEVICE_EXE, "--root", odd, "install-autostart"}, environment_with({}),
                               10000ms);
    EXPECT_EQ(refused.exit_code, 1) << refused.output;
    EXPECT_TRUE(fs::is_empty(config.path)) << "something was written for a refused root";
}

}  // namespace
