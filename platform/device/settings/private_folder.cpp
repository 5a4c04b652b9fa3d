#include "settings/private_folder.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "settings/settings.h"

namespace fs = std::filesystem;

namespace tickvane::device {

namespace {

std::string user_name(uid_t uid)
{
    const passwd* user = getpwuid(uid);
    return user ? user->pw_name : std::to_string(uid);
}

// Why `path` (lstat'ed into `st`) may not be used, with the fix; empty when fine.
std::string problem(const std::string& path, const struct stat& st, bool folder)
{
    if (S_ISLNK(st.st_mode))
        return "tickvane: " + path + " is a link; the device follows none here: remove it (rm '" + path + "')";
    if (folder ? !S_ISDIR(st.st_mode) : !S_ISREG(st.st_mode))
        return "tickvane: " + path + " is not a " + (folder ? "folder" : "file") + "; move it away";
    if (st.st_uid != geteuid())
        return "tickvane: " + path + " belongs to " + user_name(st.st_uid) + ", not to " + user_name(geteuid()) +
               "; run as its owner, or take it over with: chown -R " + user_name(geteuid()) + " '" + path + "'";
    if ((st.st_mode & (S_IWGRP | S_IWOTH)) != 0)
        return "tickvane: others can write " + path + "; make it private with: chmod " + (folder ? "700" : "600") +
               " '" + path + "'";
    return {};
}

// The per-user root and the folders above it that do not exist yet, each 0700.
bool make_private_path(const fs::path& path)
{
    std::error_code ec;
    if (fs::is_directory(path, ec))
        return true;
    if (!path.has_parent_path() || path.parent_path() == path || !make_private_path(path.parent_path()))
        return false;
    return mkdir(path.c_str(), 0700) == 0 || errno == EEXIST;
}

bool is_device_tree(const std::string& root)
{
    std::error_code ec;
    if (fs::is_directory(fs::path(root) / "Program Files", ec))
        return true;
    auto own = per_user_root();
    return own && fs::path(root).lexically_normal() == fs::path(*own).lexically_normal();
}

}  // namespace

std::string prepare_device_folder(const std::string& root, bool create)
{
    std::string folder = (fs::path(root) / ".device").string();
    struct stat st {};
    if (lstat(folder.c_str(), &st) == 0) {
        std::string why = problem(folder, st, true);
        // One made by an older device, or by a part that came first: readable by others.
        if (why.empty() && (st.st_mode & 077) != 0)
            chmod(folder.c_str(), 0700);
        return why;
    }
    if (errno != ENOENT)
        return "tickvane: " + folder + ": " + std::strerror(errno);
    if (!create)
        return {};
    if (!is_device_tree(root))
        return "tickvane: " + root +
               " is no device tree (it holds no Program Files), so nothing is kept there; lay one out with: " +
               install_command(root);
    auto own = per_user_root();
    if (own && fs::path(root).lexically_normal() == fs::path(*own).lexically_normal() && !make_private_path(root))
        return "tickvane: cannot make the device root " + root + ": " + std::strerror(errno);
    // mkdir's mode only loses bits to the umask, never gains any.
    if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
        return "tickvane: cannot make " + folder + ": " + std::strerror(errno);
    if (lstat(folder.c_str(), &st) != 0)
        return "tickvane: " + folder + ": " + std::strerror(errno);
    return problem(folder, st, true);
}

std::string private_file_problem(const std::string& path)
{
    struct stat st {};
    if (lstat(path.c_str(), &st) != 0)
        return errno == ENOENT ? std::string() : "tickvane: " + path + ": " + std::strerror(errno);
    return problem(path, st, false);
}

int open_private_file(const std::string& path, int flags)
{
    int fd = ::open(path.c_str(), flags | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK, 0600);
    struct stat st {};
    if (fd < 0 || fstat(fd, &st) != 0)
        return fd;
    if (!S_ISREG(st.st_mode) || st.st_uid != geteuid() || (st.st_mode & (S_IWGRP | S_IWOTH)) != 0) {
        close(fd);
        errno = EPERM;
        return -1;
    }
    if ((st.st_mode & 077) != 0)
        fchmod(fd, 0600);
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

}  // namespace tickvane::device
