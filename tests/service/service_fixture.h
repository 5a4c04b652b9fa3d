// Device trees for tests that run the notification service as a process, and
// registrations made through CeSetUserNotificationEx on them.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

#include "bounded_process.h"
#include "win32.h"

namespace tickvane::service_test {

using std::chrono::milliseconds;

constexpr const char16_t* recorder = u"Program Files\\Test\\record_start";

struct Start {
    int64_t ns = 0;  // when the program began, in ns since the epoch
    std::string argument;
};

// A temporary device root holding the recording program at `recorder`, and the
// device set up on it (testing::reset) so that this process registers there.
class DeviceTree {
public:
    explicit DeviceTree(bool start_service_on_demand = false);
    ~DeviceTree();  // ends a service still holding the root, removes the tree
    DeviceTree(const DeviceTree&) = delete;
    DeviceTree& operator=(const DeviceTree&) = delete;

    const std::string& root() const { return root_; }
    void install_service() const;  // <root>/Windows/tickvane-device, as an installation has it

    e2e::Child run_service() const;                   // in the foreground, as this process's child
    std::optional<pid_t> service_pid() const;         // while a service holds the root
    bool wait_for_service(milliseconds limit) const;  // until one takes wake-ups

    std::vector<Start> starts() const;
    std::vector<Start> wait_for_starts(size_t count, milliseconds limit) const;

private:
    std::string root_;
};

SYSTEMTIME local_time_at(time_t t);
std::string describe(const SYSTEMTIME& t);  // for failure messages
// A whole second at least `lead` from now, far enough from the next second for a
// registration to be made before it.
time_t second_ahead(milliseconds lead);
int64_t ns_since_epoch();

// Starts `recorder` (or `application`) at `start` with `arguments`; the handle.
HANDLE register_start(const SYSTEMTIME& start, const std::u16string& arguments = u"",
                      const std::u16string& application = recorder);

// Waits, checking every few ms, until `done` holds or `limit` passes.
template <class Predicate>
bool eventually(milliseconds limit, Predicate done)
{
    auto until = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > until)
            return false;
        struct timespec pause = {0, 5000000};
        nanosleep(&pause, nullptr);
    }
    return true;
}

}  // namespace tickvane::service_test
