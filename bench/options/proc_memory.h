// The resident memory of a process as Linux reports it in /proc/<pid>/status.
#pragma once

#include <sys/types.h>

#include <optional>
#include <string_view>

namespace tickvane::bench {

struct MemoryKb {
    long rss_kb = 0;  // VmRSS: resident now
    long hwm_kb = 0;  // VmHWM: the most it has been resident
};

// Both fields of a status file's text; empty when either is missing or unreadable.
std::optional<MemoryKb> parse_proc_status(std::string_view text);

// The same for a running process; empty when it has ended or cannot be read.
std::optional<MemoryKb> read_proc_memory(pid_t pid);

}  // namespace tickvane::bench
