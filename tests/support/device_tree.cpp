#include "device_tree.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#include "testing.h"

namespace fs = std::filesystem;

namespace tickvane::test {

namespace {
fs::path folder() { return fs::path(device::testing::root()) / "Program Files" / "Tickvane"; }
}  // namespace

void install_clock_tree()
{
    fs::create_directories(folder());
    // Inside the tree, as the notification service trusts only programs there: a
    // hard link where the build folder shares the file system, else a copy.
    std::error_code ec;
    fs::create_hard_link(ZUBO_EXE, folder() / "zubo.exe", ec);
    if (ec)
        fs::copy_file(ZUBO_EXE, folder() / "zubo.exe");
}

std::string settings_path() { return (folder() / "TimeConfig.dat").string(); }

void write_settings(const std::string& bytes)
{
    std::ofstream out(settings_path(), std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::optional<std::string> read_settings()
{
    std::ifstream in(settings_path(), std::ios::binary);
    if (!in)
        return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace tickvane::test
