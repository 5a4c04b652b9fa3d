#include "child_process.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>

namespace tickvane::bench {

namespace {
constexpr int kGraceMs = 1000;

void sleep_ms(long ms)
{
    timespec t{ms / 1000, (ms % 1000) * 1000000};
    nanosleep(&t, nullptr);
}
}  // namespace

pid_t start_in_own_group(const std::vector<std::string>& command)
{
    if (command.empty())
        return -1;
    std::vector<char*> argv;
    for (const std::string& word : command)
        argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(nullptr);
    pid_t pid = fork();
    if (pid == 0) {
        setpgid(0, 0);
        execvp(argv[0], argv.data());
        std::fprintf(stderr, "first_frame: cannot run %s: %s\n", argv[0], std::strerror(errno));
        _exit(127);
    }
    if (pid > 0)
        setpgid(pid, pid);  // also here, so that no kill can race ahead of the child's own call
    return pid;
}

bool has_exited(pid_t child, int* status)
{
    int s = 0;
    pid_t r = waitpid(child, &s, WNOHANG);
    if (r == child && status != nullptr)
        *status = s;
    return r == child || (r < 0 && errno == ECHILD);
}

void end_group(pid_t child)
{
    if (child <= 0)
        return;
    kill(-child, SIGTERM);
    for (int waited = 0; waited < kGraceMs; ++waited) {
        if (has_exited(child, nullptr)) {
            kill(-child, SIGKILL);  // whatever it started and left behind
            return;
        }
        sleep_ms(1);
    }
    kill(-child, SIGKILL);
    waitpid(child, nullptr, 0);
}

}  // namespace tickvane::bench
