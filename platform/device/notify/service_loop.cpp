#include "notify/service_loop.h"

#include <poll.h>
#include <signal.h>
#include <sys/inotify.h>
#include <sys/signalfd.h>
#include <sys/socket.h>
#include <sys/timerfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <set>
#include <utility>

#include "notify/due_time.h"
#include "notify/program_launcher.h"
#include "notify/service_address.h"
#include "notify/service_log.h"

namespace tickvane::device::notify {

namespace {

timespec wall_now()
{
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return now;
}

}  // namespace

ServiceLoop::ServiceLoop(std::string root, int socket, int signals)
    : root_(std::move(root)),
      socket_(socket),
      signals_(signals),
      timer_(timerfd_create(CLOCK_BOOTTIME, TFD_NONBLOCK | TFD_CLOEXEC)),
      clock_(timerfd_create(CLOCK_REALTIME, TFD_NONBLOCK | TFD_CLOEXEC)),
      folder_(inotify_init1(IN_NONBLOCK | IN_CLOEXEC))
{}

ServiceLoop::~ServiceLoop()
{
    close(timer_);
    close(clock_);
    close(folder_);
}

int ServiceLoop::run()
{
    if (timer_ < 0 || clock_ < 0 || folder_ < 0) {
        std::fprintf(stderr, "tickvane-device: no timer or folder watch: %s\n", std::strerror(errno));
        return 1;
    }
    watch_clock();
    watch_store();
    reload();
    for (;;) {
        rotate_service_log(root_);
        launch_due();
        if (idle())
            return 0;
        arm_timer();
        pollfd fds[] = {{socket_, POLLIN, 0},
                        {signals_, POLLIN, 0},
                        {timer_, POLLIN, 0},
                        {clock_, POLLIN, 0},
                        {folder_, POLLIN, 0}};
        if (poll(fds, 5, -1) < 0) {
            if (errno == EINTR)
                continue;
            std::fprintf(stderr, "tickvane-device: poll: %s\n", std::strerror(errno));
            return 1;
        }
        if (fds[1].revents && !take_signals())
            return 0;
        uint64_t expirations = 0;
        if (fds[2].revents && read(timer_, &expirations, sizeof expirations) < 0 && errno != EAGAIN)
            std::fprintf(stderr, "tickvane-device: timer: %s\n", std::strerror(errno));
        if (fds[2].revents && read_again_) {
            read_again_ = false;
            reload();
        }
        if (fds[3].revents) {
            // The wall clock was set: the sleep computed from it no longer holds.
            if (read(clock_, &expirations, sizeof expirations) < 0 && errno != ECANCELED && errno != EAGAIN)
                std::fprintf(stderr, "tickvane-device: clock watch: %s\n", std::strerror(errno));
            watch_clock();
        }
        bool woken = fds[0].revents && drain_socket();
        bool changed = fds[4].revents && store_changed();
        if (folder_gone_) {
            std::fprintf(stderr, "tickvane-device: %s was removed or moved away; the service ends\n",
                         device_folder(root_).c_str());
            return 0;
        }
        if (changed || woken)
            reload();
        read_again_ = read_again_ || changed;
    }
}

void ServiceLoop::reload()
{
    std::string error;
    bool read = NotificationStore::using_store(root_, error, [&](NotificationStore& store) {
        auto rows = store.all();
        if (rows)
            pending_ = std::move(*rows);
        return rows.has_value();
    });
    if (!read)
        std::fprintf(stderr, "tickvane-device: cannot read the registrations: %s\n", error.c_str());
}

const Registration* ServiceLoop::next_pending() const
{
    for (const Registration& r : pending_)
        if (!held_.count(r.id))
            return &r;
    return nullptr;
}

void ServiceLoop::launch_due()
{
    int64_t now = local_key(wall_now().tv_sec);
    std::vector<const Registration*> due_rows;
    for (const Registration& r : pending_) {
        auto due = due_key(r.due);
        if (due && *due > now)
            break;
        if (!held_.count(r.id))
            due_rows.push_back(&r);
    }
    if (due_rows.empty() && held_.empty())
        return;
    std::string error;
    auto store = NotificationStore::open(root_, true, error);
    if (!may_remove(store.get(), error))
        return;
    if (!held_.empty() && store->remove({held_.begin(), held_.end()}))
        held_.clear();
    std::vector<int64_t> done;
    std::set<std::pair<std::string, std::string>> started;
    for (const Registration* r : due_rows) {
        done.push_back(r->id);
        std::string why;
        if (!due_key(r->due))
            std::fprintf(stderr, "tickvane-device: registration %lld has no valid time (%s); dropped\n",
                         (long long)r->id, r->due.c_str());
        else if (!started.insert({r->application, r->arguments}).second)
            continue;
        else if (launch_program(root_, *r, why))
            ++running_;
        else
            std::fprintf(stderr, "tickvane-device: cannot start %s: %s\n", r->application.c_str(), why.c_str());
    }
    if (!done.empty())
        forget(*store, done);
}

// Nothing is started that could not be removed afterwards: a store this service
// cannot write would start it again at every wake-up. Said once until it changes.
bool ServiceLoop::may_remove(NotificationStore* store, const std::string& error)
{
    std::string why = !store ? error : store->writable() ? std::string() : store->error();
    if (!why.empty() && !store_blocked_)
        std::fprintf(stderr,
                     "tickvane-device: the registrations cannot be written (%s); nothing starts until they can\n",
                     why.c_str());
    else if (why.empty() && store_blocked_)
        std::fprintf(stderr, "tickvane-device: the registrations can be written again\n");
    store_blocked_ = !why.empty();
    return why.empty();
}

// Started first, removed second: a crash in between starts a program twice, never
// loses one. A removal that fails keeps the rows from this service for good.
void ServiceLoop::forget(NotificationStore& store, const std::vector<int64_t>& ids)
{
    std::set<int64_t> gone(ids.begin(), ids.end());
    std::erase_if(pending_, [&](const Registration& r) { return gone.count(r.id) != 0; });
    if (store.remove(ids))
        return;
    if (held_.empty())
        std::fprintf(stderr,
                     "tickvane-device: started registrations stay in the database (%s); this service will not start "
                     "them again\n",
                     store.error().c_str());
    held_.insert(ids.begin(), ids.end());
}

void ServiceLoop::arm_timer()
{
    constexpr int64_t kReadAgainNs = 200'000'000;
    // A due time centuries ahead (or one this clock cannot place) is looked at again
    // daily: the sleep never overflows, nor ends at once.
    constexpr int64_t kLongestSleepS = 86400;
    constexpr int64_t kBlockedRetryNs = 10'000'000'000;
    itimerspec spec{};  // all zero: disarmed, no wake-ups while nothing is pending
    const Registration* next = next_pending();
    if (next || read_again_) {
        timespec now = wall_now();
        int64_t wait_ns = kReadAgainNs;
        if (next) {
            auto due = due_instant(next->due, now.tv_sec);
            int64_t seconds = due ? std::min<int64_t>(*due - now.tv_sec, kLongestSleepS) : kLongestSleepS;
            int64_t due_ns = seconds * 1000000000 - now.tv_nsec;
            if (store_blocked_)
                due_ns = std::max(due_ns, kBlockedRetryNs);
            wait_ns = read_again_ ? std::min(due_ns, kReadAgainNs) : due_ns;
        }
        if (wait_ns < 1)
            wait_ns = 1;
        spec.it_value.tv_sec = (time_t)(wait_ns / 1000000000);
        spec.it_value.tv_nsec = (long)(wait_ns % 1000000000);
    }
    if (timerfd_settime(timer_, 0, &spec, nullptr) != 0)
        std::fprintf(stderr, "tickvane-device: cannot set the timer: %s\n", std::strerror(errno));
}

// A far-off alarm on the wall clock that is cancelled when the clock is set.
void ServiceLoop::watch_clock()
{
    itimerspec spec{};
    spec.it_value.tv_sec = wall_now().tv_sec + 10 * 366 * 86400;
    if (timerfd_settime(clock_, TFD_TIMER_ABSTIME | TFD_TIMER_CANCEL_ON_SET, &spec, nullptr) != 0)
        std::fprintf(stderr, "tickvane-device: cannot watch the clock: %s\n", std::strerror(errno));
}

// Writes to the database and its WAL, and a database moved into place; not what
// merely reading it touches, nor the log, so that the service's own reads and
// messages wake nobody.
void ServiceLoop::watch_store()
{
    if (inotify_add_watch(folder_, device_folder(root_).c_str(),
                          IN_MODIFY | IN_MOVED_TO | IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR) < 0)
        std::fprintf(stderr, "tickvane-device: cannot watch %s: %s\n", device_folder(root_).c_str(),
                     std::strerror(errno));
}

bool ServiceLoop::store_changed()
{
    alignas(inotify_event) char buffer[4096];
    bool changed = false;
    for (ssize_t n; (n = read(folder_, buffer, sizeof buffer)) > 0;)
        for (ssize_t at = 0; at < n;) {
            auto* e = (const inotify_event*)(buffer + at);
            std::string name = e->len ? e->name : "";
            changed |= name == "notifications.db" || name == "notifications.db-wal";
            folder_gone_ |= (e->mask & (IN_DELETE_SELF | IN_MOVE_SELF)) != 0;
            at += (ssize_t)(sizeof(inotify_event) + e->len);
        }
    return changed;
}

bool ServiceLoop::take_signals()
{
    signalfd_siginfo info;
    bool keep_running = true;
    while (read(signals_, &info, sizeof info) == (ssize_t)sizeof info)
        if (info.ssi_signo != SIGCHLD)
            keep_running = false;
    running_ = std::max(0, running_ - reap_children());
    return keep_running;
}

bool ServiceLoop::start_and_end_when_idle(const std::string& program)
{
    std::string why;
    if (!launch_program(root_, Registration{0, "", program, ""}, why)) {
        std::fprintf(stderr, "tickvane-device: cannot start %s: %s\n", program.c_str(), why.c_str());
        return false;
    }
    ++running_;
    end_when_idle_ = true;
    return true;
}

// Nothing pending (nor a change of the store still to read) and every program collected.
bool ServiceLoop::idle() const { return end_when_idle_ && pending_.empty() && !read_again_ && running_ == 0; }

bool ServiceLoop::drain_socket()
{
    bool woken = false;
    for (int taken; (taken = answer_datagram(socket_)) >= 0;)
        woken |= taken == 1;
    return woken;
}

}  // namespace tickvane::device::notify
