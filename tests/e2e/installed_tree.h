// A device tree in a fresh temporary folder with the clock installed into it the way
// a user installs it (`cmake --install`), removed again with everything in it.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace tickvane::e2e {

class InstalledTree {
public:
    InstalledTree() = default;
    InstalledTree(const InstalledTree&) = delete;
    InstalledTree& operator=(const InstalledTree&) = delete;
    ~InstalledTree();

    // Installs the build at `build_dir` with `cmake`; false with `why` filled on failure.
    bool install(const std::string& cmake, const std::string& build_dir, std::string* why);
    const std::string& root() const { return root_; }
    std::string clock_exe() const { return root_ + "/Program Files/Tickvane/zubo.exe"; }

private:
    std::string folder_;
    std::string root_;
};

// Live processes that belong to the device at `root`: started from an executable
// under it, or with TICKVANE_DEVICE_ROOT=root in their environment (inherited by
// anything they start). Zombies have neither and are not listed.
std::vector<pid_t> processes_of_device(const std::string& root);

// For a failure's message: each process of the device with its command, state, and
// where the kernel has it waiting (wchan), to tell a hung clock from a lost input.
std::string what_the_device_does(const std::string& root);
// The same for one process.
std::string what_the_process_does(pid_t pid);

}  // namespace tickvane::e2e
