#include "notify/service_control.h"

#include <poll.h>
#include <signal.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "notify/service.h"
#include "notify/service_address.h"

namespace fs = std::filesystem;

namespace tickvane::device::notify {

namespace {

// The pid the service wrote into its lock file, if that process is a tickvane-device.
std::optional<pid_t> pid_in_lock(const std::string& root)
{
    std::ifstream in(service_lock_path(root));
    long pid = 0;
    if (!(in >> pid) || pid <= 1)
        return std::nullopt;
    std::error_code ec;
    std::string exe = fs::read_symlink("/proc/" + std::to_string(pid) + "/exe", ec).filename().string();
    // A service whose file was replaced since it started (a package upgrade) still runs it.
    const std::string replaced = " (deleted)";
    if (exe.size() > replaced.size() && exe.ends_with(replaced))
        exe.resize(exe.size() - replaced.size());
    if (ec || exe != "tickvane-device")
        return std::nullopt;
    return (pid_t)pid;
}

// Waits until `pid` has ended (a zombie counts as ended) or `wait_ms` passes.
bool wait_for_end(pid_t pid, int wait_ms)
{
    int fd = (int)syscall(SYS_pidfd_open, pid, 0);
    if (fd < 0)
        return errno == ESRCH;
    pollfd p{fd, POLLIN, 0};
    bool ended = poll(&p, 1, wait_ms) == 1;
    close(fd);
    return ended;
}

}  // namespace

std::optional<pid_t> running_service(const std::string& root)
{
    // The socket name is bound for as long as the service takes wake-ups; a wake-up
    // costs it one look at the database.
    if (!wake_service(root))
        return std::nullopt;
    return pid_in_lock(root);
}

int stop_service(const std::string& root, int wait_ms)
{
    std::optional<pid_t> pid = running_service(root);
    if (!pid) {
        std::printf("tickvane-device: no notification service runs for %s\n", root.c_str());
        return 0;
    }
    if (kill(*pid, SIGTERM) != 0 && errno != ESRCH) {
        std::fprintf(stderr, "tickvane-device: cannot stop the notification service %d: %s\n", (int)*pid,
                     std::strerror(errno));
        return 1;
    }
    if (!wait_for_end(*pid, wait_ms)) {
        std::fprintf(stderr, "tickvane-device: the notification service %d still runs after %d ms\n", (int)*pid,
                     wait_ms);
        return 1;
    }
    std::printf("tickvane-device: stopped the notification service %d for %s\n", (int)*pid, root.c_str());
    return 0;
}

}  // namespace tickvane::device::notify
