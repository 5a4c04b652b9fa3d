// A fresh Wine prefix in a temporary folder, made once per test program: Windows'
// own folders, a Japanese font that the dialog and menu fonts link to, and the
// Windows build of the clock installed where it registers itself. Removed, with its
// wineserver, when the program ends.
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace tickvane::wine {

// Why these tests cannot run here (wine, Xvfb, libfaketime or xdotool missing), or empty.
std::string missing_tools();

class WinePrefix {
public:
    // The program's prefix, made on first use; null with `why` set when making it failed.
    static WinePrefix* shared(std::string* why);
    // A prefix of its own for one test, removed with it; null with `why` set on failure.
    static std::unique_ptr<WinePrefix> fresh(std::string* why);

    WinePrefix(const WinePrefix&) = delete;
    WinePrefix& operator=(const WinePrefix&) = delete;
    ~WinePrefix();

    const std::string& path() const { return path_; }
    std::string drive_c() const { return path_ + "/drive_c"; }
    std::string install_dir() const { return drive_c() + "/Program Files/Tickvane"; }
    // The user's folder in the prefix (C:\users\<name>) and the handheld's root in it,
    // under which the Windows stand-ins keep what the clock names from the root.
    std::string user_dir() const;
    std::string handheld_root() const { return user_dir() + "/AppData/Local/Tickvane/Handheld"; }
    std::string settings_file() const { return handheld_root() + "/Program Files/Tickvane/TimeConfig.dat"; }
    std::string tasks_dir() const { return drive_c() + "/windows/tasks"; }

    // This process's environment for Wine on this prefix, with `changes` applied
    // ("NAME=value" sets, "NAME" removes).
    std::vector<std::string> environment(const std::vector<std::string>& changes = {}) const;
    // Ends the prefix's wineserver and every Windows process of it.
    void stop_server() const;
    // Back to a just-installed clock: no settings file, no scheduled jobs, no kept window
    // place; empty or why not.
    std::string reset(const std::string& windows_exe) const;

private:
    WinePrefix() = default;
    bool make(std::string* why);

    std::string folder_;
    std::string path_;
};

}  // namespace tickvane::wine
