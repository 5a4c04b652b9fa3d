#include "proc_memory.h"

#include <charconv>
#include <fstream>
#include <sstream>
#include <string>

namespace tickvane::bench {

namespace {

// "VmRSS:\t   1234 kB" -> 1234; empty unless the line is exactly a count in kB.
std::optional<long> kb_value(std::string_view rest)
{
    size_t start = rest.find_first_not_of(" \t");
    if (start == std::string_view::npos)
        return std::nullopt;
    rest.remove_prefix(start);
    long value = 0;
    auto [end, error] = std::from_chars(rest.data(), rest.data() + rest.size(), value);
    if (error != std::errc() || value < 0)
        return std::nullopt;
    std::string_view unit(end, static_cast<size_t>(rest.data() + rest.size() - end));
    size_t first = unit.find_first_not_of(" \t");
    size_t last = unit.find_last_not_of(" \t\r");
    if (first == std::string_view::npos || unit.substr(first, last + 1 - first) != "kB")
        return std::nullopt;
    return value;
}

}  // namespace

std::optional<MemoryKb> parse_proc_status(std::string_view text)
{
    std::optional<long> rss, hwm;
    while (!text.empty()) {
        size_t eol = text.find('\n');
        std::string_view line = text.substr(0, eol);
        text.remove_prefix(eol == std::string_view::npos ? text.size() : eol + 1);
        if (line.starts_with("VmRSS:"))
            rss = kb_value(line.substr(6));
        else if (line.starts_with("VmHWM:"))
            hwm = kb_value(line.substr(6));
    }
    if (!rss || !hwm)
        return std::nullopt;
    return MemoryKb{*rss, *hwm};
}

std::optional<MemoryKb> read_proc_memory(pid_t pid)
{
    std::ifstream file("/proc/" + std::to_string(pid) + "/status");
    if (!file)
        return std::nullopt;
    std::ostringstream text;
    text << file.rdbuf();
    return parse_proc_status(text.str());
}

}  // namespace tickvane::bench
