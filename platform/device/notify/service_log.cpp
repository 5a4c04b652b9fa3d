#include "notify/service_log.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include "notify/notification_store.h"
#include "settings/private_folder.h"

namespace tickvane::device::notify {

namespace {

bool stderr_is(const std::string& path)
{
    struct stat err {
    }, log{};
    return fstat(2, &err) == 0 && stat(path.c_str(), &log) == 0 && err.st_dev == log.st_dev && err.st_ino == log.st_ino;
}

}  // namespace

std::string service_log_path(const std::string& root)
{
    return (std::filesystem::path(device_folder(root)) / "service.log").string();
}

void say(const std::string& root, const std::string& line)
{
    std::fprintf(stderr, "%s\n", line.c_str());
    std::string log = service_log_path(root);
    if (stderr_is(log))
        return;
    int fd = open_private_file(log, O_WRONLY | O_CREAT | O_APPEND);
    if (fd >= 0) {
        std::string text = line + "\n";
        ssize_t ignored = write(fd, text.data(), text.size());
        (void)ignored;
        close(fd);
    }
}

void rotate_service_log(const std::string& root, long limit)
{
    std::string log = service_log_path(root);
    struct stat st {};
    if (fstat(2, &st) != 0 || st.st_size < limit || !stderr_is(log))
        return;
    std::fflush(stderr);
    std::fflush(stdout);
    if (rename(log.c_str(), (log + ".1").c_str()) != 0)
        return;
    int fd = open_private_file(log, O_WRONLY | O_CREAT | O_APPEND);
    if (fd < 0)
        return;
    struct stat out {};
    if (fstat(1, &out) == 0 && out.st_dev == st.st_dev && out.st_ino == st.st_ino)
        dup2(fd, 1);
    dup2(fd, 2);
    close(fd);
}

}  // namespace tickvane::device::notify
