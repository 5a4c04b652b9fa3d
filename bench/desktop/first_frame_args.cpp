#include "first_frame_args.h"

#include <charconv>

namespace tickvane::bench {

namespace {
constexpr std::string_view kTimeout = "--timeout-ms=";
constexpr std::string_view kCpu = "--cpu";
constexpr int kMaxTimeoutMs = 600000;

bool parse_timeout(std::string_view text, int* ms)
{
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), *ms);
    return error == std::errc() && end == text.data() + text.size() && *ms > 0 && *ms <= kMaxTimeoutMs;
}
}  // namespace

std::optional<FirstFrameArgs> parse_first_frame_args(const std::vector<std::string>& words, std::string* error)
{
    FirstFrameArgs args;
    size_t i = 0;
    for (; i < words.size() && words[i].starts_with("--"); ++i) {
        std::string_view word = words[i];
        if (word == kCpu) {
            args.with_cpu = true;
            continue;
        }
        if (!word.starts_with(kTimeout)) {
            *error = "unknown option " + words[i];
            return std::nullopt;
        }
        if (!parse_timeout(word.substr(kTimeout.size()), &args.timeout_ms)) {
            *error = "--timeout-ms wants a whole number of milliseconds from 1 to 600000";
            return std::nullopt;
        }
    }
    if (words.size() < i + 2 || words[i].empty() || words[i + 1].empty()) {
        *error = "a window title and a command are needed";
        return std::nullopt;
    }
    args.title = words[i];
    args.command.assign(words.begin() + static_cast<std::ptrdiff_t>(i) + 1, words.end());
    return args;
}

}  // namespace tickvane::bench
