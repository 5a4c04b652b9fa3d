// Child processes for the end-to-end tests, each bounded in time: a command run to
// completion with its output, or a long-running program that is killed, with
// everything it started in its process group, when the test lets go of it.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace tickvane::e2e {

using std::chrono::milliseconds;

// This process's environment with `changes` applied: "NAME=value" sets, "NAME" removes.
std::vector<std::string> environment_with(const std::vector<std::string>& changes);

struct Outcome {
    bool finished = false;  // false: could not start, or killed at the time limit
    int exit_code = -1;     // 128 + signal when a signal ended it
    std::string output;     // stdout and stderr, interleaved
};

// Runs `argv` (looked up on PATH) and waits at most `limit` for it to end.
Outcome run_bounded(const std::vector<std::string>& argv, const std::vector<std::string>& env, milliseconds limit);

class Child {
public:
    Child(const std::vector<std::string>& argv, const std::vector<std::string>& env);
    Child(Child&& other) noexcept;
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;
    ~Child();  // kills the whole group and reaps the child

    pid_t pid() const { return pid_; }
    bool started() const { return pid_ > 0; }
    void signal(int sig) const;
    // The exit code (128 + signal when killed) once it has ended, waiting at most `limit`.
    // Until this is called the child is not reaped: once dead it stays a zombie.
    std::optional<int> wait_exit(milliseconds limit);
    std::string output() const;  // what it wrote so far to stdout and stderr

private:
    pid_t pid_ = -1;
    bool reaped_ = false;
    std::optional<int> exit_code_;
    std::string log_path_;
};

}  // namespace tickvane::e2e
