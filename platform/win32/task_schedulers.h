// The two ways of asking Windows to start a program once at a local time.
#pragma once

#include <functional>

#include "launch_request.h"

namespace tickvane::win32 {

// Task Scheduler 2.0: a time trigger to the second, run late if the machine was off or
// asleep at the time. The way on every Windows since Vista.
HRESULT register_with_task_service(const LaunchRequest& request);

// Task Scheduler 1.0: a .job whose one-time trigger counts in minutes, so the start comes
// at the first whole minute at or after the due second. For systems whose 2.0 service
// cannot take a time trigger.
HRESULT register_job(const LaunchRequest& request);

// Which of the scheduler's tasks to remove, by name (a 1.0 job's without ".job").
using TaskChoice = std::function<bool(const std::wstring& name)>;

// Removes the tasks of either scheduler that `which` picks, but none that is running.
// COM must be set up on the calling thread.
HRESULT remove_task_service_tasks(const TaskChoice& which);
HRESULT remove_jobs(const TaskChoice& which);

}  // namespace tickvane::win32
