// The conformance probe (tests/conformance) on our device and under Wine: where the
// clock relies on the platform, the two logs must agree.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "bounded_process.h"
#include "prefix_on_xvfb.h"

namespace fs = std::filesystem;
using namespace tickvane::wine;
using std::chrono::seconds;

namespace {

std::vector<std::string> lines_of(const fs::path& file)
{
    std::ifstream in(file);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

bool starts_with(const std::string& s, const std::string& prefix) { return s.rfind(prefix, 0) == 0; }

// One known, harmless difference taken out: Wine disables a dialog's owner before
// WM_INITDIALOG, where the documentation (and our device) does it after. Both still
// disable the owner. The dialog layout stays in: the prefix has no Tahoma, and Wine's
// "MS Shell Dlg" measures as VL Gothic does (6 x 14 at 8 pt), so the layouts must agree.
std::vector<std::string> comparable(const std::vector<std::string>& log, int* disables)
{
    std::vector<std::string> kept;
    for (const std::string& line : log) {
        if (line == "main: WM_ENABLE 0") {
            ++*disables;
        } else if (starts_with(line, "dialog: WM_INITDIALOG")) {
            kept.push_back("dialog: WM_INITDIALOG");
        } else {
            kept.push_back(line);
        }
    }
    return kept;
}

std::string joined(const std::vector<std::string>& lines)
{
    std::string all;
    for (const std::string& l : lines)
        all += "  " + l + "\n";
    return all;
}

}  // namespace

class ConformanceUnderWine : public PrefixOnXvfb {};

TEST_F(ConformanceUnderWine, TheDeviceDoesWhatWineDoesWhereTheClockReliesOnIt)
{
    WinePrefix* prefix = prefix_;

    fs::path probe = fs::path(TICKVANE_WINDOWS_ZUBO).parent_path() / "conformance_probe.exe";
    fs::path wine_log = fs::path(prefix->handheld_root()) / "conformance-log.txt";  // "\\conformance-log.txt"
    fs::remove(wine_log);
    std::error_code ec;
    fs::copy_file(probe, fs::path(prefix->drive_c()) / probe.filename(), fs::copy_options::overwrite_existing, ec);
    ASSERT_FALSE(ec) << probe << ": " << ec.message();
    auto on_wine = tickvane::e2e::run_bounded({"env", "-C", prefix->drive_c(), "wine", "C:\\conformance_probe.exe"},
                                              environment(), seconds(60));
    ASSERT_TRUE(on_wine.finished && on_wine.exit_code == 0) << on_wine.output;

    fs::path root = fs::temp_directory_path() / ("tickvane-conformance-" + std::to_string(getpid()));
    fs::create_directories(root / "Program Files");  // a device tree: the device keeps its files nowhere else
    auto on_device = tickvane::e2e::run_bounded(
        {TICKVANE_DEVICE_PROBE},
        tickvane::e2e::environment_with({"TICKVANE_DEVICE_ROOT=" + root.string(), "TICKVANE_DISPLAY=headless"}),
        seconds(60));
    std::vector<std::string> device_lines = lines_of(root / "conformance-log.txt");
    fs::remove_all(root, ec);
    ASSERT_TRUE(on_device.finished && on_device.exit_code == 0) << on_device.output;

    int wine_disables = 0, device_disables = 0;
    auto wine = comparable(lines_of(wine_log), &wine_disables);
    auto device = comparable(device_lines, &device_disables);
    ASSERT_GT(wine.size(), 20u) << "the probe under Wine wrote too little:\n" << joined(wine);
    EXPECT_EQ(device, wine) << "device:\n" << joined(device) << "Wine:\n" << joined(wine);
    EXPECT_EQ(device_disables, 3) << "two dialogs and a box disable the owner";
    EXPECT_EQ(wine_disables, 3);
}
