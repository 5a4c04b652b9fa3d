#include "text/private_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

namespace tickvane::text {

bool replace_private_file(const std::string& path, const std::string& bytes)
{
    std::string tmp = path + ".tmp";
    int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    // An older file of another mode (made under another umask) is made private too.
    bool written = fchmod(fd, 0600) == 0;
    for (size_t at = 0; written && at < bytes.size();) {
        ssize_t n = ::write(fd, bytes.data() + at, bytes.size() - at);
        written = n > 0;
        at += written ? static_cast<size_t>(n) : 0;
    }
    written = ::close(fd) == 0 && written;
    if (written && std::rename(tmp.c_str(), path.c_str()) == 0)
        return true;
    ::unlink(tmp.c_str());
    return false;
}

}  // namespace tickvane::text
