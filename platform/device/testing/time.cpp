// The test's clock: virtual time that jumps to the next timer, a pinned local time,
// and the idle point where a test acts.
#include "seams/seams.h"
#include "testing.h"
#include "time/clock.h"

namespace tickvane::device::testing {

void set_local_time(const SYSTEMTIME& t) { device_clock().pinned = t; }

void use_real_clock() { device_clock().virtual_time = false; }

void on_idle(std::function<void()> hook) { seams().idle = std::move(hook); }

uint64_t virtual_now() { return device_clock().virtual_now; }

}  // namespace tickvane::device::testing
