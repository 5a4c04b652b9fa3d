// The device's clock: the host's, or virtual time for tests, and a pinned local time.
#pragma once

#include <cstdint>
#include <optional>

#include "win32.h"

namespace tickvane::device {

struct Clock {
    bool virtual_time = false;
    uint64_t virtual_now = 0;
    std::optional<SYSTEMTIME> pinned;
};

Clock& device_clock();
uint64_t now_ms();

}  // namespace tickvane::device
