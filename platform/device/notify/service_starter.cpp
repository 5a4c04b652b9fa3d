#include "notify/service_starter.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <vector>

#include "files/device_path.h"
#include "notify/notification_store.h"
#include "notify/trusted_program.h"
#include "settings/device_image.h"

namespace fs = std::filesystem;

namespace tickvane::device::notify {

namespace {

bool runnable(const fs::path& p)
{
    std::error_code ec;
    return fs::is_regular_file(p, ec) && access(p.c_str(), X_OK) == 0;
}

// In the detached grandchild, where only async-signal-safe calls may be made: the
// service gets no terminal, no descriptor of ours, and default signal handling.
[[noreturn]] void become_service(const char* exe, char* const argv[], const char* log)
{
    int in = open("/dev/null", O_RDONLY);
    int out = open(log, O_WRONLY | O_CREAT | O_APPEND | O_NOFOLLOW, 0600);
    if (in < 0 || out < 0 || dup2(in, 0) < 0 || dup2(out, 1) < 0 || dup2(out, 2) < 0)
        _exit(127);
    close_range(3, ~0u, 0);
    struct sigaction dfl {};
    dfl.sa_handler = SIG_DFL;
    for (int sig : {SIGCHLD, SIGPIPE, SIGTERM, SIGINT, SIGHUP})
        sigaction(sig, &dfl, nullptr);
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    execv(exe, argv);
    static const char failed[] = "tickvane: cannot execute the notification service\n";
    ssize_t ignored = write(2, failed, sizeof failed - 1);
    (void)ignored;
    _exit(127);
}

}  // namespace

std::optional<std::string> find_service_executable(const std::string& root)
{
    auto installed = readable_path(root, own_image(), u"Windows\\tickvane-device");
    fs::path resolved;
    if (installed && runnable(*installed) && untrusted(*installed, trusted_tops(root, own_image()), resolved).empty())
        return installed->string();
    std::error_code ec;
    fs::path self = fs::read_symlink("/proc/self/exe", ec);
    if (!ec && runnable(self.parent_path() / "tickvane-device"))
        return (self.parent_path() / "tickvane-device").string();
    return std::nullopt;
}

bool start_service(const std::string& root)
{
    auto exe = find_service_executable(root);
    if (!exe) {
        std::fprintf(stderr,
                     "tickvane: the notification service could not be started: no tickvane-device in %s/Windows "
                     "or beside this program; the registration is kept for its next start\n",
                     root.c_str());
        return false;
    }
    // Everything the children need is made before forking.
    std::string log = (fs::path(device_folder(root)) / "service.log").string();
    std::vector<std::string> args = {*exe, "--root", root, "service"};
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    pid_t child = fork();
    if (child < 0) {
        std::fprintf(stderr, "tickvane: the notification service could not be started: %s\n", std::strerror(errno));
        return false;
    }
    if (child == 0) {
        setsid();
        pid_t service = fork();
        if (service != 0)
            _exit(service < 0 ? 1 : 0);
        become_service(exe->c_str(), argv.data(), log.c_str());
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (WIFEXITED(status) && WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "tickvane: the notification service could not be started: no process\n");
        return false;
    }
    return true;
}

}  // namespace tickvane::device::notify
