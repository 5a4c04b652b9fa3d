#include "service_fixture.h"

#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iomanip>
#include <sstream>
#include <stdexcept>

#include "notify/service.h"
#include "notify/service_address.h"
#include "testing.h"

namespace fs = std::filesystem;

namespace tickvane::service_test {

DeviceTree::DeviceTree(bool start_service_on_demand)
{
    // A service started on demand leaves its starter; this process then becomes its
    // parent and collects it, as a real system's process 1 would.
    static bool subreaper = prctl(PR_SET_CHILD_SUBREAPER, 1) == 0;
    (void)subreaper;
    std::string pattern = (fs::temp_directory_path() / "tickvane-service-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("cannot make a temporary device root");
    root_ = pattern;
    fs::create_directories(root_ + "/Program Files/Test");
    // A copy: the service starts nothing that lies outside the tree.
    fs::copy_file(RECORD_START_EXE, root_ + "/Program Files/Test/record_start");
    device::testing::Options options;
    options.root = root_;
    options.start_service = start_service_on_demand;
    device::testing::reset(options);
}

DeviceTree::~DeviceTree()
{
    if (auto pid = service_pid()) {
        kill(*pid, SIGKILL);
        eventually(milliseconds(3000), [&] { return !service_pid(); });
    }
    while (waitpid(-1, nullptr, WNOHANG) > 0) {
    }
    std::error_code ec;
    fs::remove_all(root_, ec);
}

void DeviceTree::install_service() const
{
    fs::create_directories(root_ + "/Windows");
    std::error_code ec;  // a hard link where it can be, as a link out of the tree is not started
    fs::create_hard_link(TICKVANE_DEVICE_EXE, root_ + "/Windows/tickvane-device", ec);
    if (ec)
        fs::copy_file(TICKVANE_DEVICE_EXE, root_ + "/Windows/tickvane-device");
}

e2e::Child DeviceTree::run_service() const
{
    return e2e::Child({TICKVANE_DEVICE_EXE, "--root", root_, "service"}, e2e::environment_with({}));
}

// Read from /proc/locks rather than by trying the lock, which a service starting at
// that moment would take for a running one.
std::optional<pid_t> DeviceTree::service_pid() const
{
    struct stat st {};
    if (stat(device::notify::service_lock_path(root_).c_str(), &st) != 0)
        return std::nullopt;
    std::ostringstream file;
    file << std::hex << std::setfill('0') << std::setw(2) << major(st.st_dev) << ':' << std::setw(2) << minor(st.st_dev)
         << ':' << std::dec << st.st_ino;
    std::ifstream locks("/proc/locks");
    for (std::string line; std::getline(locks, line);) {
        std::istringstream in(line);
        std::string number, kind, advisory, mode, id;
        pid_t pid = 0;
        if (in >> number >> kind >> advisory >> mode >> pid >> id && kind == "FLOCK" && id == file.str())
            return pid;
    }
    return std::nullopt;
}

bool DeviceTree::wait_for_service(milliseconds limit) const
{
    return eventually(limit, [&] { return device::notify::wake_service(root_); });
}

std::vector<Start> DeviceTree::starts() const
{
    std::vector<Start> out;
    std::ifstream log(root_ + "/started.log");
    Start s;
    while (log >> s.ns >> s.argument)
        out.push_back(s);
    return out;
}

std::vector<Start> DeviceTree::wait_for_starts(size_t count, milliseconds limit) const
{
    eventually(limit, [&] { return starts().size() >= count; });
    return starts();
}

SYSTEMTIME local_time_at(time_t t)
{
    tm l{};
    localtime_r(&t, &l);
    return SYSTEMTIME{(WORD)(l.tm_year + 1900), (WORD)(l.tm_mon + 1), (WORD)l.tm_wday, (WORD)l.tm_mday,
                      (WORD)l.tm_hour,          (WORD)l.tm_min,       (WORD)l.tm_sec,  0};
}

std::string describe(const SYSTEMTIME& t)
{
    char text[64];
    std::snprintf(text, sizeof text, "%u-%u-%u %u:%u:%u.%u", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond,
                  t.wMilliseconds);
    return text;
}

int64_t ns_since_epoch()
{
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return (int64_t)now.tv_sec * 1000000000 + now.tv_nsec;
}

time_t second_ahead(milliseconds lead)
{
    return (time_t)((ns_since_epoch() + lead.count() * 1000000 + 999999999) / 1000000000);
}

HANDLE register_start(const SYSTEMTIME& start, const std::u16string& arguments, const std::u16string& application)
{
    std::u16string app = application, args = arguments;
    CE_NOTIFICATION_TRIGGER trigger{};
    trigger.dwSize = sizeof trigger;
    trigger.dwType = CNT_TIME;
    trigger.lpszApplication = app.data();
    trigger.lpszArguments = args.data();
    trigger.stStartTime = start;
    return CeSetUserNotificationEx(nullptr, &trigger, nullptr);
}

}  // namespace tickvane::service_test
