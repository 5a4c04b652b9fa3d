#include "bounded_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <thread>

extern char** environ;

namespace tickvane::e2e {
namespace {

using Clock = std::chrono::steady_clock;

std::vector<char*> pointers(std::vector<std::string>& strings)
{
    std::vector<char*> out;
    for (std::string& s : strings)
        out.push_back(s.data());
    out.push_back(nullptr);
    return out;
}

// Forks `argv` into a process group of its own with stdout and stderr on `out_fd`.
pid_t spawn(std::vector<std::string> argv, std::vector<std::string> env, int out_fd)
{
    std::vector<char*> args = pointers(argv), envp = pointers(env);
    pid_t pid = fork();
    if (pid == 0) {
        setpgid(0, 0);
        prctl(PR_SET_PDEATHSIG, SIGKILL);  // a test killed at its time limit leaves no clock behind
        int null_in = open("/dev/null", O_RDONLY);
        dup2(null_in, STDIN_FILENO);
        dup2(out_fd, STDOUT_FILENO);
        dup2(out_fd, STDERR_FILENO);
        execvpe(args[0], args.data(), envp.data());
        _exit(127);
    }
    if (pid > 0)
        setpgid(pid, pid);  // also from here, so a kill right after fork reaches the group
    return pid;
}

int exit_code_of(int status)
{
    if (WIFEXITED(status))
        return WEXITSTATUS(status);
    return WIFSIGNALED(status) ? 128 + WTERMSIG(status) : -1;
}

std::optional<int> reap_within(pid_t pid, milliseconds limit)
{
    for (auto until = Clock::now() + limit;; std::this_thread::sleep_for(milliseconds(10))) {
        int status = 0;
        pid_t got = waitpid(pid, &status, WNOHANG);
        if (got == pid)
            return exit_code_of(status);
        if (got < 0 || Clock::now() >= until)
            return std::nullopt;
    }
}

void read_until_eof(int fd, Clock::time_point until, std::string& out)
{
    char buffer[4096];
    for (pollfd p{fd, POLLIN, 0}; Clock::now() < until;) {
        auto left = std::chrono::duration_cast<milliseconds>(until - Clock::now()).count();
        if (::poll(&p, 1, static_cast<int>(left) + 1) != 1)
            continue;
        ssize_t n = read(fd, buffer, sizeof buffer);
        if (n <= 0)
            return;
        out.append(buffer, static_cast<size_t>(n));
    }
}

}  // namespace

std::vector<std::string> environment_with(const std::vector<std::string>& changes)
{
    std::vector<std::string> env;
    auto name_of = [](const std::string& s) { return s.substr(0, s.find('=')); };
    for (char** e = environ; *e != nullptr; ++e) {
        std::string entry = *e;
        bool changed = false;
        for (const std::string& c : changes)
            changed = changed || name_of(c) == name_of(entry);
        if (!changed)
            env.push_back(entry);
    }
    for (const std::string& c : changes)
        if (c.find('=') != std::string::npos)
            env.push_back(c);
    return env;
}

Outcome run_bounded(const std::vector<std::string>& argv, const std::vector<std::string>& env, milliseconds limit)
{
    Outcome outcome;
    int fds[2];
    if (argv.empty() || pipe2(fds, O_CLOEXEC) != 0)
        return outcome;
    auto until = Clock::now() + limit;
    pid_t pid = spawn(argv, env, fds[1]);
    close(fds[1]);
    if (pid > 0)
        read_until_eof(fds[0], until, outcome.output);
    close(fds[0]);
    if (pid <= 0)
        return outcome;
    auto left = std::chrono::duration_cast<milliseconds>(until - Clock::now());
    std::optional<int> code = reap_within(pid, std::max(left, milliseconds(0)));
    if (!code) {
        kill(-pid, SIGKILL);
        reap_within(pid, milliseconds(5000));
        return outcome;
    }
    outcome.finished = true;
    outcome.exit_code = *code;
    return outcome;
}

Child::Child(const std::vector<std::string>& argv, const std::vector<std::string>& env)
{
    char path[] = "/tmp/tickvane-e2e-log-XXXXXX";
    int fd = mkostemp(path, O_CLOEXEC);
    if (fd < 0 || argv.empty())
        return;
    log_path_ = path;
    pid_ = spawn(argv, env, fd);
    close(fd);
}

Child::Child(Child&& other) noexcept
    : pid_(other.pid_), reaped_(other.reaped_), exit_code_(other.exit_code_), log_path_(std::move(other.log_path_))
{
    other.pid_ = -1;
    other.log_path_.clear();
}

Child::~Child()
{
    if (pid_ > 0) {
        kill(-pid_, SIGKILL);  // also what it left behind in its group
        if (!reaped_)
            reap_within(pid_, milliseconds(5000));
    }
    if (!log_path_.empty())
        unlink(log_path_.c_str());
}

void Child::signal(int sig) const
{
    if (pid_ > 0 && !reaped_)
        kill(pid_, sig);
}

std::optional<int> Child::wait_exit(milliseconds limit)
{
    if (pid_ <= 0)
        return std::nullopt;
    if (!reaped_)
        exit_code_ = reap_within(pid_, limit);
    reaped_ = exit_code_.has_value();
    return exit_code_;
}

std::string Child::output() const
{
    std::ifstream in(log_path_);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace tickvane::e2e
