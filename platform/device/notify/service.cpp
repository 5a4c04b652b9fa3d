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

namespace fs = std::filesystem;

namespace tickvane::device::notify {

namespace {

// 1: taken; 0: another service holds it; -1: error (message printed).
int take_lock(const std::string& root, int& fd)
{
    std::error_code ec;
    if (!fs::create_directories(device_folder(root), ec) && !fs::is_directory(device_folder(root))) {
        std::fprintf(stderr, "tickvane-device: cannot use the device root %s: %s: %s\n", root.c_str(),
                     device_folder(root).c_str(), ec ? ec.message().c_str() : "not a folder");
        return -1;
    }
    fd = open(service_lock_path(root).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) {
        std::fprintf(stderr, "tickvane-device: %s: %s\n", service_lock_path(root).c_str(), std::strerror(errno));
        return -1;
    }
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
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

// A service that has just died may hold the name for a moment after its lock is gone.
int bind_socket(const std::string& root)
{
    auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    for (;;) {
        int fd = bind_service_socket(root);
        if (fd >= 0 || errno != EADDRINUSE || std::chrono::steady_clock::now() > give_up)
            return fd;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
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
    int socket = bind_socket(root);
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
    if (!first_program.empty() && !loop.start_and_end_when_idle(first_program)) {
        close(socket);
        close(signals);
        close(lock);
        return 1;
    }
    int code = loop.run();
    close(socket);  // the name goes before the lock, so a successor can bind it
    close(signals);
    close(lock);
    return code;
}

}  // namespace tickvane::device::notify
