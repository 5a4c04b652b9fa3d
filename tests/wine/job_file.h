// Task Scheduler 1.0 .job files ([MS-TSCH] 2.4): what the Windows clock's next-launch
// registration leaves under C:\windows\Tasks when only the 1.0 scheduler takes it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tickvane::wine {

struct JobTrigger {
    int begin_year, begin_month, begin_day;
    int start_hour, start_minute;
    uint32_t type;  // 0: once
};

struct JobFile {
    std::u16string application, parameters, working_directory, author, comment;
    std::vector<JobTrigger> triggers;
};

// Null with `why` set when `bytes` is not a whole .job file.
std::optional<JobFile> parse_job(const std::string& bytes, std::string* why);

// For messages: ASCII as it is, anything else as '?'.
std::string ascii(const std::u16string& text);

}  // namespace tickvane::wine
