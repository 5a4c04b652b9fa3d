// tickvane-device: the device's resident notification service, and a look at what
// it has pending.
//   tickvane-device [--root DIR] service    run the service in the foreground
//   tickvane-device [--root DIR] pending    list pending registrations, earliest first
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "device.h"
#include "notify/notification_store.h"
#include "notify/service.h"

namespace fs = std::filesystem;
using namespace tickvane::device;

namespace {

constexpr const char* usage = "usage: tickvane-device [--root DIR] service|pending\n";

int list_pending(const std::string& root)
{
    std::error_code ec;
    if (!fs::exists(notify::database_path(root), ec)) {
        auto status = fs::status(root, ec);
        if (fs::is_directory(status))
            return 0;  // nothing registered yet
        std::fprintf(stderr, "tickvane-device: cannot use the device root %s: %s\n", root.c_str(),
                     std::strerror(fs::exists(status) ? ENOTDIR : ENOENT));
        return 1;
    }
    std::string error;
    auto store = notify::NotificationStore::open(root, false, error);
    auto rows = store ? store->all() : std::nullopt;
    if (!rows) {
        std::fprintf(stderr, "tickvane-device: %s\n", store ? store->error().c_str() : error.c_str());
        return 1;
    }
    for (const notify::Registration& r : *rows)
        std::printf("%s\t%s\t%s\n", r.due.c_str(), r.application.c_str(), r.arguments.c_str());
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    std::string root, command;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--root" && i + 1 < argc && argv[i + 1][0] != '\0')
            root = argv[++i];
        else if (arg.rfind("--root=", 0) == 0 && arg.size() > 7)
            root = arg.substr(7);
        else if (arg == "-h" || arg == "--help")
            return std::fputs(usage, stdout), 0;
        else if (command.empty() && (arg == "service" || arg == "pending"))
            command = arg;
        else
            return std::fprintf(stderr, "tickvane-device: unexpected '%s'\n%s", arg.c_str(), usage), 2;
    }
    if (command.empty())
        return std::fputs(usage, stderr), 2;
    if (root.empty()) {
        std::error_code ec;
        fs::path exe = fs::read_symlink("/proc/self/exe", ec);
        root = settings_from_environment(ec ? std::string() : exe.string()).root;
    }
    return command == "service" ? notify::run_service(root) : list_pending(root);
}
