// The command line of first_frame:
//   first_frame [--timeout-ms=N] [--cpu] TITLE COMMAND [ARG...]
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tickvane::bench {

struct FirstFrameArgs {
    std::string title;                 // WM_NAME of the window to wait for
    std::vector<std::string> command;  // what to start
    int timeout_ms = 10000;
    bool with_cpu = false;  // also print the command's on-CPU milliseconds at that moment
};

// Empty with `error` set when the words do not make a valid command line.
std::optional<FirstFrameArgs> parse_first_frame_args(const std::vector<std::string>& words, std::string* error);

}  // namespace tickvane::bench
