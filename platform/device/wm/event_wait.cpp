#include "wm/event_wait.h"

#include <cstdio>
#include <utility>
#include <vector>

#include "compositor/compositor.h"
#include "display/fd_waiter.h"
#include "registry/window_registry.h"
#include "seams/seams.h"
#include "time/clock.h"
#include "wm/input_queue.h"
#include "wm/message_queue.h"
#include "wm/window_manager.h"
#include "wm/window_tree.h"

namespace tickvane::device {

namespace {

// Virtual time past which a test's message loop is considered stuck.
constexpr uint64_t kVirtualTimeLimitMs = 24ull * 3600 * 1000;

bool g_woken = false;
// The registry's socket is read only after a wake that it may have caused, so that a
// refresh nothing disturbed asks the socket nothing. The first pump reads it.
WakeReason g_last_wake = WakeReason::Interrupted;

bool registry_may_be_readable(WakeReason why) { return why != WakeReason::Input && why != WakeReason::TimedOut; }

bool some_window_needs_paint()
{
    return first_window([](const Window& w) { return w.has_update && w.visible && !w.minimized; }) != nullptr;
}

// Idle under test: let the test act, then jump to the next timer.
WakeReason idle_virtually(int timeout)
{
    if (seams().idle) {
        uint64_t before = device_clock().virtual_now;
        seams().idle();
        if (std::exchange(g_woken, false) || device_clock().virtual_now != before || ms_to_next_timer() == 0 ||
            some_window_needs_paint())
            return WakeReason::VirtualTime;
    }
    if (timeout < 0 || device_clock().virtual_now > kVirtualTimeLimitMs) {
        std::fprintf(stderr, "tickvane: the message loop has nothing left to wait for; ending it\n");
        message_queue().quit_requested = true;
        message_queue().quit_code = -1;
        return WakeReason::NothingLeft;
    }
    device_clock().virtual_now += (uint64_t)timeout;
    return WakeReason::VirtualTime;
}

WakeReason wake_reason(display::WaitEnd end)
{
    switch (end) {
    case display::WaitEnd::Input:
        return WakeReason::Input;
    case display::WaitEnd::Descriptor:
        return WakeReason::Registry;
    case display::WaitEnd::TimedOut:
        return WakeReason::TimedOut;
    case display::WaitEnd::Interrupted:
        break;
    }
    return WakeReason::Interrupted;
}

WakeReason wait_without_display(int timeout, const std::vector<int>& fds)
{
    static display::FdWaiter waiter;
    switch (waiter.wait(fds, -1, timeout)) {
    case display::FdWaitResult::TimedOut:
        return WakeReason::TimedOut;
    case display::FdWaitResult::Interrupted:
        return WakeReason::Interrupted;
    default:
        return WakeReason::Registry;
    }
}

WakeReason wait_once(int timeout)
{
    if (std::exchange(g_woken, false))
        return WakeReason::Woken;
    if (device_clock().virtual_time)
        return idle_virtually(timeout);
    static thread_local std::vector<int> fds;  // no allocation on every wait
    fds.clear();
    if (int fd = registry_fd(); fd >= 0)
        fds.push_back(fd);
    return compositor().display ? wake_reason(compositor().display->wait(timeout, fds))
                                : wait_without_display(timeout, fds);
}

}  // namespace

void pump_events()
{
    display::Event e;
    while (compositor().display && compositor().display->poll(e))
        input_queue().events.push_back(e);
    if (registry_may_be_readable(std::exchange(g_last_wake, WakeReason::TimedOut)))
        for (HWND hwnd : registry_take_foreground_requests())
            SetForegroundWindow(hwnd);
    g_woken = false;  // the loop looks at its queues next
}

WakeReason wait_for_events(int timeout_ms) { return g_last_wake = wait_once(timeout_ms); }

void wake() { g_woken = true; }

void queue_input(const display::Event& e)
{
    input_queue().events.push_back(e);
    wake();
}

}  // namespace tickvane::device
