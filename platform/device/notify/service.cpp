#include "notify/service.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <thread>

#include "notify/notification_store.h"
#include "notify/service_address.h"
#include "notify/service_log.h"
#include "notify/service_loop.h"
#include "settings/private_folder.h"

namespace fs = std::filesystem;

namespace tickvane::device::notify {

namespace {

// Takes the lock, or fails with EWOULDBLOCK once a service answers. A service killed
// while starting a program leaves its lock with that program until it has started:
// a lock nobody answers for is tried again for a moment.
bool lock_or_answered(const std::string& root, int fd)
{
    auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    while (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        int error = errno;
        if (error != EWOULDBLOCK || ask_service(root, 50) || std::chrono::steady_clock::now() > give_up) {
            errno = error;
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

// 1: taken; 0: another service holds it; -1: error (message printed).
int take_lock(const std::string& root, int& fd)
{
    std::string why = prepare_device_folder(root, true);
    if (!why.empty()) {
        std::fprintf(stderr, "%s\n", why.c_str());
        return -1;
    }
    fd = open_private_file(service_lock_path(root), O_RDWR | O_CREAT);
    if (fd < 0) {
        std::fprintf(stderr, "tickvane-device: %s: %s\n", service_lock_path(root).c_str(), std::strerror(errno));
        return -1;
    }
    if (!lock_or_answered(root, fd)) {
        bool held = errno == EWOULDBLOCK;
        if (!held)
            std::fprintf(stderr, "tickvane-device: cannot lock %s: %s\n", service_lock_path(root).c_str(),
                         std::strerror(errno));
        close(fd);
        return held ? 0 : -1;
    }
    if (ftruncate(fd, 0) == 0)
        dprintf(fd, "%d\n", (int)getpid());
    return 1;
}

int signal_fd()
{
    sigset_t set;
    sigemptyset(&set);
    for (int sig : {SIGCHLD, SIGTERM, SIGINT, SIGHUP})
        sigaddset(&set, sig);
    if (sigprocmask(SIG_BLOCK, &set, nullptr) != 0)
        return -1;
    return signalfd(-1, &set, SFD_NONBLOCK | SFD_CLOEXEC);
}

}  // namespace

std::string service_lock_path(const std::string& root)
{
    return (fs::path(device_folder(root)) / "service.lock").string();
}

int run_service(const std::string& root, const std::string& first_program)
{
    // Lock, then socket, then database: a registration committed before the socket
    // exists is in the first read, one committed after it also sends a wake-up.
    int lock = -1;
    int taken = take_lock(root, lock);
    if (taken <= 0) {
        if (taken == 0)
            std::fprintf(stderr, "tickvane-device: a notification service already runs for %s\n", root.c_str());
        // A run command waiting for its cycle must learn that it has none.
        return taken != 0 ? 1 : first_program.empty() ? 0 : 3;
    }
    int socket = bind_service_socket(root);
    int signals = signal_fd();
    if (socket < 0 || signals < 0) {
        std::fprintf(stderr, "tickvane-device: cannot %s: %s\n",
                     socket < 0 ? "bind the service socket" : "take signals", std::strerror(errno));
        return 1;
    }
    // The programs it starts find the same device.
    setenv("TICKVANE_DEVICE_ROOT", root.c_str(), 1);
    rotate_service_log(root);
    std::fprintf(stderr, "tickvane-device: notification service %d for %s\n", (int)getpid(), root.c_str());
    ServiceLoop loop(root, socket, signals);
    int code = !first_program.empty() && !loop.start_and_end_when_idle(first_program) ? 1 : loop.run();
    close(socket);  // the address goes before the lock, so a successor binds a fresh one
    unlink(service_socket_path(root).c_str());
    close(signals);
    close(lock);
    return code;
}

}  // namespace tickvane::device::notify
