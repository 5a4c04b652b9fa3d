// The two ways of asking Windows to start a program once at a local time.
#pragma once

#include "launch_request.h"

namespace tickvane::win32 {

// Task Scheduler 2.0: a time trigger to the second, run late if the machine was off or
// asleep at the time. The way on every Windows since Vista.
HRESULT register_with_task_service(const LaunchRequest& request);

// Task Scheduler 1.0: a .job whose one-time trigger counts in minutes, so the start comes
// at the first whole minute at or after the due second. For systems whose 2.0 service
// cannot take a time trigger.
HRESULT register_job(const LaunchRequest& request);

}  // namespace tickvane::win32
