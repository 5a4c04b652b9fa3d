// Blocking on file descriptors with poll(), shared by the backends' wait().
#pragma once

#include <poll.h>

#include <chrono>
#include <vector>

namespace tickvane::display {

enum class FdWaitResult {
    CallerFdReady,  // one of the caller's descriptors is readable (or in error: let the caller see it)
    ExtraFdReady,   // the backend's own descriptor (the X connection) has data
    ExtraFdBroken,  // ... or was closed by the other end: waiting on it again would spin
    TimedOut,
    Interrupted,  // a signal arrived or poll() itself failed; the caller decides what it means
};

class FdWaiter {
public:
    // `extra_fd` < 0 means none; negative entries in `fds` are ignored, as poll() does.
    FdWaitResult wait(const std::vector<int>& fds, int extra_fd, int timeout_ms);

private:
    std::vector<pollfd> polled_;  // reused so a wait allocates nothing once warmed up
};

using Deadline = std::chrono::steady_clock::time_point;
Deadline deadline_after(int timeout_ms);
// Milliseconds left until `deadline`, rounded up so a wait never ends early;
// -1 (no limit) when `timeout_ms` was negative.
int remaining_ms(Deadline deadline, int timeout_ms);

}  // namespace tickvane::display
