// tickvane-device: the device's resident notification service, a look at what it has
// pending, and starting it with the desktop session. `--help` lists it all.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "codepage/unicode.h"
#include "notify/autostart.h"
#include "notify/notification_store.h"
#include "notify/service.h"
#include "notify/service_control.h"
#include "notify/service_starter.h"
#include "settings/private_folder.h"
#include "settings/settings.h"

namespace fs = std::filesystem;
using namespace tickvane::device;

namespace {

constexpr const char* help_text =
    "usage: tickvane-device [--root DIR] COMMAND\n"
    "The Tickvane device's notification service, which starts registered programs at their time.\n"
    "\n"
    "commands:\n"
    "  service            run the service in the foreground until SIGTERM, SIGINT or SIGHUP\n"
    "  service --run PROGRAM\n"
    "                     start PROGRAM (a device path) at once, and end once nothing is pending and\n"
    "                     nothing the service started still runs\n"
    "  pending            list pending registrations, earliest first: due<TAB>application<TAB>arguments\n"
    "  cancel [PROGRAM]   drop the pending registrations (of PROGRAM only, a device path such as\n"
    "                     '\\Program Files\\Tickvane\\zubo.exe'), listing each as pending does\n"
    "  status             ask whether the service runs (exit 0) or not (exit 3)\n"
    "  stop               end the service of the device tree (exit 1 when none ended)\n"
    "  install-autostart  start the service at every login (systemd user unit and XDG autostart entry)\n"
    "  remove-autostart   undo install-autostart\n"
    "\n"
    "options:\n"
    "  --root DIR         the device tree, an existing folder (default: $TICKVANE_DEVICE_ROOT, else its own)\n"
    "  -h, --help         show this help and exit\n"
    "  --version          show the version and exit\n";

const std::vector<std::string> commands = {"service", "pending",           "status",          "stop",
                                           "cancel",  "install-autostart", "remove-autostart"};

struct Invocation {
    std::string root, command;
    std::string program;  // cancel's PROGRAM, or service's --run PROGRAM
    bool run = false;
    bool help = false, version = false;
};

// What the command line holds is a whole command: no word a command does not take.
std::string check_arguments(const Invocation& how, const std::vector<std::string>& extra)
{
    if (how.run && how.command != "service")
        return "--run goes with the service command";
    size_t takes = how.command == "cancel" ? 1 : 0;
    if (extra.size() > takes)
        return "unexpected argument '" + extra[takes] + "': '" + how.command + "' takes " +
               (takes ? "one PROGRAM at most" : "no arguments");
    return "";
}

int usage_error(const std::string& what)
{
    std::fprintf(stderr, "tickvane-device: %s\nusage: tickvane-device [--root DIR] COMMAND (see --help)\n",
                 what.c_str());
    return 2;
}

// Empty on success, else what is wrong with the command line.
std::string parse(int argc, char** argv, Invocation& out)
{
    std::vector<std::string> extra;  // words after the command
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        bool joined = arg.rfind("--root=", 0) == 0;
        if (arg == "--root" || joined) {
            if (!joined && i + 1 >= argc)
                return "--root needs a folder";
            std::string value = joined ? arg.substr(7) : argv[++i];
            std::error_code ec;
            if (value.empty())
                return "--root needs a folder";
            if (!fs::is_directory(value, ec))
                return "--root " + value + ": no such folder";
            out.root = value;
        } else if (arg == "--run") {
            if (i + 1 >= argc || argv[i + 1][0] == '\0')
                return "--run needs a program";
            out.run = true;
            out.program = argv[++i];
        } else if (arg == "-h" || arg == "--help") {
            out.help = true;
        } else if (arg == "--version") {
            out.version = true;
        } else if (!arg.empty() && arg[0] == '-') {
            return "unknown option '" + arg + "'";
        } else if (!out.command.empty() && std::find(commands.begin(), commands.end(), arg) != commands.end()) {
            return "one command at a time ('" + out.command + "' and '" + arg + "')";
        } else if (!out.command.empty()) {
            extra.push_back(arg);
        } else if (std::find(commands.begin(), commands.end(), arg) == commands.end()) {
            return "unknown command '" + arg + "'";
        } else {
            out.command = arg;
        }
    }
    if (out.command.empty())
        return out.help || out.version ? "" : "no command given";
    if (out.command == "cancel" && !extra.empty())
        out.program = extra[0];
    return check_arguments(out, extra);
}

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

// Drops what is pending (of `program` only, when given) and lists what it dropped.
int cancel_pending(const std::string& root, const std::string& program)
{
    std::error_code ec;
    if (!fs::exists(notify::database_path(root), ec))
        return list_pending(root);  // nothing registered yet, or no such root: said the same way
    std::string error;
    auto store = notify::NotificationStore::open(root, false, error);
    auto rows = store ? store->all() : std::nullopt;
    // Every device path starts at the root, written with its backslash or without.
    auto from_root = [](const std::string& path) {
        size_t at = path.find_first_not_of("\\/");
        return utf16_from_utf8(at == std::string::npos ? "" : path.substr(at));
    };
    std::vector<int64_t> ids;
    for (const notify::Registration& r : rows ? *rows : std::vector<notify::Registration>{})
        if (program.empty() || same_name_ignoring_case(from_root(r.application), from_root(program)))
            ids.push_back(r.id);
    std::vector<int64_t> dropped;
    if (!rows || !store->remove(ids, &dropped)) {
        std::fprintf(stderr, "tickvane-device: %s\n", store ? store->error().c_str() : error.c_str());
        return 1;
    }
    for (const notify::Registration& r : *rows)
        if (std::find(dropped.begin(), dropped.end(), r.id) != dropped.end())
            std::printf("%s\t%s\t%s\n", r.due.c_str(), r.application.c_str(), r.arguments.c_str());
    return 0;
}

int report_status(const std::string& root)
{
    std::optional<pid_t> pid = notify::running_service(root);
    if (pid)
        std::printf("tickvane-device: notification service %d runs for %s\n", (int)*pid, root.c_str());
    else
        std::printf("tickvane-device: no notification service runs for %s\n", root.c_str());
    return pid ? 0 : 3;
}

int install_autostart(const std::string& root)
{
    std::optional<std::string> exe = notify::find_service_executable(root);
    if (!exe) {
        std::fprintf(stderr, "tickvane-device: no service executable for %s\n", root.c_str());
        return 1;
    }
    std::error_code ec;
    return notify::install_autostart(fs::absolute(root, ec).lexically_normal().string(), *exe);
}

}  // namespace

int main(int argc, char** argv)
{
    Invocation how;
    std::string wrong = parse(argc, argv, how);
    if (!wrong.empty())
        return usage_error(wrong);
    if (how.help)
        return std::fputs(help_text, stdout), 0;
    if (how.version)
        return std::printf("tickvane-device %s\n", TICKVANE_VERSION), 0;
    if (how.root.empty()) {
        std::error_code ec;
        fs::path exe = fs::read_symlink("/proc/self/exe", ec);
        Settings settings = settings_from_environment(ec ? std::string() : exe.string());
        if (!settings.refusal.empty())
            return std::fprintf(stderr, "%s\n", settings.refusal.c_str()), 1;
        how.root = settings.root;
    } else {
        std::error_code ec;
        how.root = fs::absolute(how.root, ec).lexically_normal().string();
    }
    const std::string& c = how.command;
    // Another user's (or an open) device folder is refused before anything reads it.
    std::string refusal = c == "service" ? std::string() : prepare_device_folder(how.root, false);
    if (!refusal.empty())
        return std::fprintf(stderr, "%s\n", refusal.c_str()), 1;
    if (c == "service")
        return notify::run_service(how.root, how.program);
    if (c == "cancel")
        return cancel_pending(how.root, how.program);
    if (c == "pending")
        return list_pending(how.root);
    if (c == "status")
        return report_status(how.root);
    if (c == "stop")
        return notify::stop_service(how.root);
    return c == "install-autostart" ? install_autostart(how.root) : notify::remove_autostart(how.root);
}
