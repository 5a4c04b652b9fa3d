#include "settings/device_image.h"

#include <unistd.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace tickvane::device {

std::string installed_image(const std::string& executable)
{
    std::error_code ec;
    fs::path exe = fs::weakly_canonical(executable, ec);
    if (ec || executable.empty())
        return {};
    for (fs::path p = exe.parent_path(); p.has_parent_path() && p != p.parent_path(); p = p.parent_path()) {
        if (!fs::is_directory(p / "Program Files", ec))
            continue;
        // Root may write /usr, yet what a package put there is still no one's own tree.
        bool system_wide = p.string().rfind("/usr/", 0) == 0;
        return system_wide || access(p.c_str(), W_OK) != 0 ? p.string() : std::string();
    }
    return {};
}

const std::string& own_image()
{
    static const std::string image = [] {
        std::error_code ec;
        fs::path exe = fs::read_symlink("/proc/self/exe", ec);
        return ec ? std::string() : installed_image(exe.string());
    }();
    return image;
}

}  // namespace tickvane::device
