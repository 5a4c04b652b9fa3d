#include "registry/start_turn.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <thread>

#include "registry/window_registry.h"

namespace fs = std::filesystem;

namespace tickvane::device {

namespace {

int& turn_fd() { return window_registry().start_turn_fd; }

}  // namespace

void start_turn_take(const std::string& device_root, const std::string& executable, int limit_ms)
{
    std::error_code ec;
    fs::path folder = fs::path(device_root) / ".device" / "starting";
    fs::create_directories(folder, ec);
    char name[32];
    std::snprintf(name, sizeof name, "%016zx", std::hash<std::string>{}(fs::weakly_canonical(executable, ec).string()));
    // The kernel drops the lock with the process, however it ends.
    int fd = open((folder / name).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0)
        return;  // no folder for the device's state: nothing to wait for either
    auto give_up = std::chrono::steady_clock::now() + std::chrono::milliseconds(limit_ms);
    while (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (std::chrono::steady_clock::now() > give_up) {
            close(fd);
            return;  // the first one hangs before its window; go on rather than hang too
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    start_turn_give();
    turn_fd() = fd;
}

void start_turn_give()
{
    if (turn_fd() >= 0)
        close(turn_fd());
    turn_fd() = -1;
}

}  // namespace tickvane::device
