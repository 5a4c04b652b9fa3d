// The resident service's loop: sleeps until the earliest registration falls due, a
// registering process wakes it or a commit shows in the store's folder, starts what
// is due, and collects its children.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "notify/notification_store.h"

namespace tickvane::device::notify {

class ServiceLoop {
public:
    // `socket` is the bound service socket and `signals` a signalfd for SIGCHLD and
    // the stopping signals; the loop owns neither.
    ServiceLoop(std::string root, int socket, int signals);
    ~ServiceLoop();
    ServiceLoop(const ServiceLoop&) = delete;
    ServiceLoop& operator=(const ServiceLoop&) = delete;

    // Runs until SIGTERM, SIGINT or SIGHUP: 0, or 1 when waiting itself fails.
    int run();
    // Starts `program` (a device path) now and makes run() end with 0 once nothing is
    // pending and nothing started is still running. False, with a message, when the
    // program cannot be started.
    bool start_and_end_when_idle(const std::string& program);

private:
    void reload();
    void launch_due();
    bool may_remove(NotificationStore* store, const std::string& error);
    void forget(NotificationStore& store, const std::vector<int64_t>& ids);
    const Registration* next_pending() const;
    void arm_timer();
    void watch_clock();
    bool take_signals();  // false when asked to stop
    bool drain_socket();  // true when a wake-up was among what it took
    void watch_store();
    bool store_changed();  // drains the folder's events
    bool idle() const;

    std::string root_;
    int socket_;
    int signals_;
    int timer_;                          // the next due time, counted on a clock that also runs in suspend
    int clock_;                          // becomes readable when someone sets the wall clock
    int folder_;                         // inotify on the store's folder: a commit whose writer died before waking us
    std::vector<Registration> pending_;  // earliest first, as last read
    // A writer's WAL frames show in the folder before its commit shows in the shared
    // index, so a read right after the event can miss the row: it is read once more.
    bool read_again_ = false;
    bool end_when_idle_ = false;
    int running_ = 0;  // programs started and not yet collected
    // Started, but the store would not let them go: never started again by this service.
    std::set<int64_t> held_;
    bool store_blocked_ = false;  // due rows wait for a store this service can write
    bool folder_gone_ = false;    // the device folder was removed or moved away
};

}  // namespace tickvane::device::notify
