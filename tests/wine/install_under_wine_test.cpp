// The Windows installer under Wine, in a prefix of its own, as a new user meets it: a
// silent per-user install, the clock started from the Start menu shortcut's target with
// the working folder on another drive while another program's window is titled
// "Tickvane", its settings and its next start, and an uninstall that leaves nothing of
// the program behind but the user's settings.
#include <chrono>
#include <csignal>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <thread>

#include "clock_under_wine.h"
#include "job_file.h"
#include "shell_link.h"
#include "xdotool.h"

namespace fs = std::filesystem;
using namespace tickvane::wine;
using std::chrono::seconds;
using tickvane::e2e::run_bounded;

namespace {

using SystemClock = std::chrono::system_clock;

template <class Test>
bool eventually(seconds limit, Test test)
{
    for (auto until = std::chrono::steady_clock::now() + limit; !test();) {
        if (std::chrono::steady_clock::now() > until)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(250));
    }
    return true;
}

std::string read_file(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

class InstallUnderWine : public ClockUnderWine {
protected:
    void SetUp() override
    {
        if (std::string missing = missing_tools(); !missing.empty())
            GTEST_SKIP() << missing;
        if (!fs::exists(TICKVANE_WINDOWS_INSTALLER))
            GTEST_SKIP() << TICKVANE_WINDOWS_INSTALLER << " is not built (makensis, Debian's nsis, makes it)";
        std::string why;
        own_ = WinePrefix::fresh(&why);
        ASSERT_NE(own_, nullptr) << why;
        prefix_ = own_.get();
    }

    // Every Wine process of the test shares one time, shifted so that the minute is young
    // when the test begins: Wine's scheduler must count the same minutes as the clock.
    void shift_time()
    {
        long now = (long)SystemClock::to_time_t(SystemClock::now());
        offset_ = (70 - now % 60) % 60;
        time_ = {"LD_PRELOAD=" TICKVANE_LIBFAKETIME, "FAKETIME=+" + std::to_string(offset_),
                 "FAKETIME_DONT_FAKE_MONOTONIC=1", "TZ=UTC"};
    }
    std::time_t shifted_now() const { return SystemClock::to_time_t(SystemClock::now()) + offset_; }
    std::string shifted_text() const
    {
        std::time_t t = shifted_now();
        char text[32];
        std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", std::gmtime(&t));
        return text;
    }
    // Waits until the shifted second is in [first, last] of its minute.
    void wait_for_second(int first, int last) const
    {
        while (shifted_now() % 60 < first || shifted_now() % 60 > last)
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
    tickvane::e2e::Outcome wine(const std::vector<std::string>& args, seconds limit)
    {
        std::vector<std::string> argv{"wine"};
        argv.insert(argv.end(), args.begin(), args.end());
        return run_bounded(argv, wine_environment(time_), limit);
    }
    // Until every Wine process of the prefix has ended; the registry is then in its files.
    bool idle() { return run_bounded({"wineserver", "-w"}, wine_environment(time_), seconds(60)).finished; }

    fs::path programs() const { return prefix_->user_dir() + "/AppData/Local/Programs/Tickvane"; }
    fs::path shortcut() const
    {
        return prefix_->user_dir() + "/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Tickvane.lnk";
    }
    std::string windows_program() const
    {
        return "C:\\users\\" + fs::path(prefix_->user_dir()).filename().string() +
               "\\AppData\\Local\\Programs\\Tickvane\\zubo.exe";
    }
    // The installed-programs entry of the user: value name to its text in user.reg.
    std::map<std::string, std::string> uninstall_entry() const
    {
        std::istringstream reg(read_file(prefix_->path() + "/user.reg"));
        std::map<std::string, std::string> values;
        bool inside = false;
        for (std::string line; std::getline(reg, line);) {
            if (line.starts_with("["))
                inside = line.starts_with(
                    "[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Uninstall\\\\Tickvane]");
            else if (inside && line.starts_with("\"") && line.find("\"=") != std::string::npos)
                values[line.substr(1, line.find("\"=") - 1)] = line.substr(line.find("\"=") + 2);
        }
        return values;
    }
    int tickvane_windows() const
    {
        return (int)tickvane::e2e::windows_named(display_name(), "^Tickvane$", false, seconds(5)).size();
    }

    std::unique_ptr<WinePrefix> own_;
    long offset_ = 0;
    std::vector<std::string> time_;
};

TEST_F(InstallUnderWine, InstallsRunsFromItsShortcutAndUninstallsLeavingOnlyTheSettings)
{
    ASSERT_TRUE(start_display());
    shift_time();

    auto installed = wine({TICKVANE_WINDOWS_INSTALLER, "/S"}, seconds(120));
    ASSERT_TRUE(installed.finished && installed.exit_code == 0) << installed.output;
    ASSERT_TRUE(idle());
    for (const char* file : {"zubo.exe", "uninstall.exe", "tickvane-cleanup.exe"})
        EXPECT_TRUE(fs::exists(programs() / file)) << file;
    std::map<std::string, std::string> entry = uninstall_entry();
    EXPECT_EQ(entry["DisplayName"], "\"Tickvane\"");
    EXPECT_EQ(entry["DisplayVersion"], "\"" TICKVANE_VERSION "\"");
    EXPECT_EQ(entry["Publisher"], "\"Tickvane\"");
    EXPECT_NE(entry["DisplayIcon"].find("zubo.exe,0"), std::string::npos) << entry["DisplayIcon"];
    EXPECT_NE(entry["QuietUninstallString"].find("uninstall.exe"), std::string::npos);
    std::optional<std::string> target = shortcut_target(read_file(shortcut()));
    ASSERT_TRUE(target.has_value()) << shortcut() << " is no shortcut to a program";
    EXPECT_EQ(*target, windows_program());

    // Another program's window with the clock's title, as a folder window of its folder has.
    fs::path titled = fs::path(TICKVANE_WINDOWS_ZUBO).parent_path() / "titled_window.exe";
    tickvane::e2e::Child other({"wine", titled.string(), "Tickvane"}, wine_environment(time_));
    ASSERT_TRUE(window_shown("^Tickvane$", seconds(30))) << other.output();

    // From the shortcut's target, the working folder on drive Z:, as a shortcut's "Start in" may be.
    ASSERT_TRUE(start_program(*target, fs::temp_directory_path().string(), time_, shifted_text()))
        << "the other program's window stopped the start";

    click_options_item();
    ASSERT_TRUE(window_shown("^OPTION$", seconds(10)));
    keys({"Tab", "Tab", "Tab", "Down", "Return", "Escape"});  // seconds to 15, Apply, Close
    ASSERT_TRUE(window_gone("^OPTION$", seconds(10)));
    EXPECT_FALSE(window_shown("^エラー$", seconds(0))) << "Apply could not store 0 and 15";
    EXPECT_EQ(settings(), "0 1") << "not stored in " << prefix_->settings_file();

    // A tap when the due second leaves Wine's scheduler, which counts in minutes, the next one.
    wait_for_second(20, 44);
    click(120, 200);
    std::optional<int> code = exit_code(seconds(15));
    ASSERT_TRUE(code.has_value()) << "the tap did not end the clock";
    EXPECT_EQ(*code, 0) << clock_output();
    ASSERT_EQ(jobs().size(), 1u);
    std::string why;
    std::optional<JobFile> job = parse_job(read_file(prefix_->tasks_dir() + "/" + jobs()[0]), &why);
    ASSERT_TRUE(job.has_value()) << why;
    EXPECT_EQ(ascii(job->application), windows_program()) << "the job starts another copy";
    EXPECT_TRUE(eventually(seconds(90), [&] { return tickvane_windows() == 2; }))
        << "Wine's scheduler did not start the clock again";

    auto removed = wine({(programs() / "uninstall.exe").string(), "/S"}, seconds(60));
    ASSERT_TRUE(removed.finished && removed.exit_code == 0) << removed.output;
    // The uninstaller runs on from a copy of itself in the temporary folder.
    EXPECT_TRUE(eventually(seconds(60), [&] { return !fs::exists(programs()); })) << "the program's folder stayed";
    other.signal(SIGKILL);
    ASSERT_TRUE(idle());
    EXPECT_EQ(tickvane_windows(), 0) << "a clock outlived the uninstall";
    EXPECT_FALSE(fs::exists(shortcut()));
    EXPECT_EQ(jobs(), std::vector<std::string>{}) << "a start of the clock stayed with the scheduler";
    EXPECT_TRUE(uninstall_entry().empty()) << "the installed-programs entry stayed";
    EXPECT_EQ(settings(), "0 1") << "the user's settings go only when the user removes them";
}

}  // namespace
