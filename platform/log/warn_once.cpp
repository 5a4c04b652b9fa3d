#include "warn_once.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdarg>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

namespace tickvane {

namespace {

bool stderr_is_a_log()
{
    struct stat st {};
    int flags = fcntl(2, F_GETFL);
    return fstat(2, &st) == 0 && S_ISREG(st.st_mode) && flags >= 0 && (flags & O_APPEND);
}

// Read afresh each time: other programs append to the same log.
bool log_holds(const std::string& line)
{
    std::ifstream in("/proc/self/fd/2");
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return text.rfind(line, 0) == 0 || text.find("\n" + line) != std::string::npos;
}

}  // namespace

void warn_once(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    int size = std::vsnprintf(nullptr, 0, format, args);
    va_end(args);
    std::string line(size > 0 ? (size_t)size : 0, '\0');
    if (size > 0)
        std::vsnprintf(line.data(), line.size() + 1, format, again);
    va_end(again);
    line += '\n';
    if (stderr_is_a_log() && log_holds(line))
        return;
    std::fflush(stderr);
    if (write(2, line.data(), line.size()) < 0)
        return;  // nowhere left to say it
}

}  // namespace tickvane
