#include "notify/service_control.h"

#include <poll.h>
#include <signal.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "notify/service.h"
#include "notify/service_address.h"

namespace fs = std::filesystem;

namespace tickvane::device::notify {

namespace {

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
    // The service itself answers, over the address only it can bind: a lock file
    // left empty or stale says nothing either way.
    return ask_service(root);
}

int stop_service(const std::string& root, int wait_ms)
{
    std::optional<pid_t> pid = running_service(root);
    if (!pid) {
        std::fprintf(stderr, "tickvane-device: no notification service of %s answers; nothing was stopped\n",
                     root.c_str());
        return 1;
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
