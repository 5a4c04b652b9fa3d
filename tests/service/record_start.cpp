// Stands in for a registered program: appends "<start time in ns since the epoch>
// <argument or ->" to started.log in the device root the service hands it.
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

int main(int argc, char** argv)
{
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    const char* root = std::getenv("TICKVANE_DEVICE_ROOT");
    if (root == nullptr)
        return 1;
    char line[512];
    int n = std::snprintf(line, sizeof line, "%lld %s\n", (long long)now.tv_sec * 1000000000 + now.tv_nsec,
                          argc > 1 ? argv[1] : "-");
    int fd = open((std::string(root) + "/started.log").c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0 || n <= 0 || n >= (int)sizeof line)
        return 1;
    return write(fd, line, (size_t)n) == n ? 0 : 1;  // one write: lines of concurrent starts never mix
}
