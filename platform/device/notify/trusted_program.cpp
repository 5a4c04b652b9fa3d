#include "notify/trusted_program.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace fs = std::filesystem;

namespace tickvane::device::notify {

namespace {

bool inside(const fs::path& path, const fs::path& top)
{
    auto [t, p] = std::mismatch(top.begin(), top.end(), path.begin(), path.end());
    return t == top.end();
}

// Why a file or folder on the way may be changed by someone else, or empty.
std::string writable_by_others(const fs::path& path)
{
    struct stat st {};
    if (lstat(path.c_str(), &st) != 0)
        return path.string() + ": " + std::strerror(errno);
    if (st.st_uid != geteuid() && st.st_uid != 0)
        return path.string() + " belongs to another user (uid " + std::to_string(st.st_uid) + ")";
    if ((st.st_mode & (S_IWGRP | S_IWOTH)) != 0)
        return "others can write " + path.string();
    return {};
}

}  // namespace

std::vector<fs::path> trusted_tops(const std::string& root, const std::string& image)
{
    if (image.empty())
        return {root};
    return {root, image};
}

std::string untrusted(const fs::path& program, const std::vector<fs::path>& tops, fs::path& resolved)
{
    std::error_code ec;
    resolved = fs::canonical(program, ec);
    if (ec)
        return program.string() + ": " + ec.message();
    if (!fs::is_regular_file(fs::symlink_status(resolved, ec)))
        return resolved.string() + " is not a regular file";
    for (const fs::path& given : tops) {
        fs::path top = fs::canonical(given, ec);
        if (ec || !inside(resolved, top))
            continue;
        for (fs::path p = resolved; inside(p, top); p = p.parent_path()) {
            std::string why = writable_by_others(p);
            if (!why.empty())
                return why;
            if (p == top)
                break;
        }
        return {};
    }
    return program.string() + " leads to " + resolved.string() + ", outside the device tree";
}

}  // namespace tickvane::device::notify
