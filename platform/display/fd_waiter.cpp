#include "fd_waiter.h"

#include <climits>

namespace tickvane::display {

FdWaitResult FdWaiter::wait(const std::vector<int>& fds, int extra_fd, int timeout_ms)
{
    polled_.clear();
    for (int fd : fds)
        polled_.push_back(pollfd{fd, POLLIN, 0});
    if (extra_fd >= 0)
        polled_.push_back(pollfd{extra_fd, POLLIN, 0});

    int ready = ::poll(polled_.data(), polled_.size(), timeout_ms < 0 ? -1 : timeout_ms);
    if (ready < 0)
        return FdWaitResult::Interrupted;
    if (ready == 0)
        return FdWaitResult::TimedOut;
    for (size_t i = 0; i < fds.size(); ++i) {
        if (polled_[i].revents != 0)
            return FdWaitResult::CallerFdReady;
    }
    if (extra_fd < 0)
        return FdWaitResult::CallerFdReady;
    return (polled_.back().revents & POLLIN) != 0 ? FdWaitResult::ExtraFdReady : FdWaitResult::ExtraFdBroken;
}

Deadline deadline_after(int timeout_ms)
{
    return std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms < 0 ? 0 : timeout_ms);
}

int remaining_ms(Deadline deadline, int timeout_ms)
{
    if (timeout_ms < 0)
        return -1;
    auto left = deadline - std::chrono::steady_clock::now();
    if (left <= std::chrono::steady_clock::duration::zero())
        return 0;
    auto ms = std::chrono::ceil<std::chrono::milliseconds>(left).count();
    return ms > INT_MAX ? INT_MAX : static_cast<int>(ms);
}

}  // namespace tickvane::display
