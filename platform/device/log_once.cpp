#include "log_once.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

namespace tickvane::device {

namespace {

struct Lines {
    int fd;  // the log, as stderr had it
    std::string partial;
};

bool log_holds(const std::string& line)
{
    std::ifstream in("/proc/self/fd/2");
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return text.rfind(line, 0) == 0 || text.find("\n" + line) != std::string::npos;
}

ssize_t write_lines(void* cookie, const char* data, size_t size)
{
    auto* lines = (Lines*)cookie;
    lines->partial.append(data, size);
    for (size_t end; (end = lines->partial.find('\n')) != std::string::npos;) {
        std::string line = lines->partial.substr(0, end + 1);
        lines->partial.erase(0, end + 1);
        if (!log_holds(line) && write(lines->fd, line.data(), line.size()) < 0)
            break;
    }
    return (ssize_t)size;
}

int close_lines(void* cookie)
{
    auto* lines = (Lines*)cookie;
    if (!lines->partial.empty() && write(lines->fd, lines->partial.data(), lines->partial.size()) < 0)
        lines->partial.clear();
    delete lines;
    return 0;
}

}  // namespace

void drop_lines_the_log_holds()
{
    struct stat st {};
    int flags = fcntl(2, F_GETFL);
    if (fstat(2, &st) != 0 || !S_ISREG(st.st_mode) || flags < 0 || !(flags & O_APPEND))
        return;
    cookie_io_functions_t io{nullptr, write_lines, nullptr, close_lines};
    FILE* filtered = fopencookie(new Lines{2, {}}, "w", io);
    if (filtered == nullptr)
        return;
    setvbuf(filtered, nullptr, _IOLBF, 0);
    stderr = filtered;
}

}  // namespace tickvane::device
