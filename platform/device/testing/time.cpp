// The test's clock: virtual time that jumps to the next timer, a pinned local time,
// and the idle point where a test acts.
#include "state.h"
#include "testing.h"

namespace tickvane::device::testing {

void set_local_time(const SYSTEMTIME& t) { state().pinned_time = t; }

void use_real_clock() { state().virtual_time = false; }

void on_idle(std::function<void()> hook) { state().idle_hook = std::move(hook); }

uint64_t virtual_now() { return state().virtual_now; }

}  // namespace tickvane::device::testing
