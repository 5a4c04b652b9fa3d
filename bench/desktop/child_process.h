// A command started in a process group of its own, so that ending it also ends
// whatever it started.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace tickvane::bench {

// The child's pid (also its group id), or -1 when fork fails. A command that cannot be
// executed exits with status 127 after saying why on stderr.
pid_t start_in_own_group(const std::vector<std::string>& command);

// True once the child has exited; reaps it. `status` gets its wait status.
bool has_exited(pid_t child, int* status);

// SIGTERM to the whole group, SIGKILL after a grace period, then reaps the child.
void end_group(pid_t child);

}  // namespace tickvane::bench
