// first_frame [--timeout-ms=N] [--cpu] TITLE COMMAND [ARG...]
//
// Starts COMMAND, looks about once a millisecond for a mapped top-level window named
// TITLE with something drawn in it, prints the milliseconds from the start to that
// moment, then ends COMMAND and everything it started. With --cpu it also prints, on the
// same line, how many milliseconds COMMAND itself had spent on a CPU by then (the
// loader, its start and its first paint, without the time it waited or was kept waiting)
// and how many page faults it had taken: memory touched for the first time, which the
// machine's load does not change.
// Exit status: 0 painted; 1 timed out or the command ended first; 2 bad command line;
// 3 no X display; 130 interrupted.
#include <signal.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "child_process.h"
#include "first_frame_args.h"
#include "window_probe.h"

using namespace tickvane::bench;
using Clock = std::chrono::steady_clock;

namespace {

volatile sig_atomic_t g_interrupted = 0;

void on_signal(int) { g_interrupted = 1; }

double ms_since(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// On-CPU time of a process from /proc/PID/schedstat, in ms; -1 if it cannot be read.
double on_cpu_ms(pid_t pid)
{
    std::ifstream in("/proc/" + std::to_string(pid) + "/schedstat");
    long long ns = -1;
    return in >> ns ? static_cast<double>(ns) / 1e6 : -1;
}

// Page faults a process has taken (minor and major), from /proc/PID/stat; -1 if unreadable.
long long page_faults(pid_t pid)
{
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    std::getline(in, line);
    size_t after_name = line.rfind(')');  // the name may hold spaces and parentheses
    if (after_name == std::string::npos)
        return -1;
    std::istringstream fields(line.substr(after_name + 2));
    std::string field;
    long long minor = -1, major = -1;
    // After the name: state, ppid, pgrp, session, tty, tpgid, flags, minflt, cminflt, majflt.
    for (int i = 0; i < 10 && fields >> field; ++i) {
        if (i == 7)
            minor = std::stoll(field);
        if (i == 9)
            major = std::stoll(field);
    }
    return minor < 0 || major < 0 ? -1 : minor + major;
}

// 0 with the time printed, or the exit status for what went wrong instead.
int wait_for_first_frame(WindowProbe& probe, const FirstFrameArgs& args, pid_t child, Clock::time_point start)
{
    int status = 0;
    while (!g_interrupted) {
        if (probe.look(args.title) == WindowState::Painted) {
            double ms = ms_since(start);
            if (args.with_cpu)
                std::printf("%.1f %.2f %lld\n", ms, on_cpu_ms(child), page_faults(child));
            else
                std::printf("%.1f\n", ms);
            return 0;
        }
        if (has_exited(child, &status)) {
            std::fprintf(stderr, "first_frame: %s ended (status %d) before painting '%s'\n", args.command[0].c_str(),
                         WIFEXITED(status) ? WEXITSTATUS(status) : -1, args.title.c_str());
            return 1;
        }
        if (ms_since(start) > args.timeout_ms) {
            std::fprintf(stderr, "first_frame: no painted window '%s' after %d ms\n", args.title.c_str(),
                         args.timeout_ms);
            return 1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return 130;
}

}  // namespace

int main(int argc, char** argv)
{
    std::string error;
    std::optional<FirstFrameArgs> args = parse_first_frame_args(std::vector<std::string>(argv + 1, argv + argc),
                                                                &error);
    if (!args) {
        std::fprintf(stderr, "first_frame: %s\nusage: first_frame [--timeout-ms=N] [--cpu] TITLE COMMAND [ARG...]\n",
                     error.c_str());
        return 2;
    }
    std::unique_ptr<WindowProbe> probe = WindowProbe::connect(&error);
    if (!probe) {
        std::fprintf(stderr, "first_frame: %s\n", error.c_str());
        return 3;
    }
    signal(SIGINT, on_signal);
    signal(SIGTERM, on_signal);
    Clock::time_point start = Clock::now();
    pid_t child = start_in_own_group(args->command);
    if (child < 0) {
        std::fprintf(stderr, "first_frame: cannot fork\n");
        return 1;
    }
    int result = wait_for_first_frame(*probe, *args, child, start);
    end_group(child);
    return result;
}
