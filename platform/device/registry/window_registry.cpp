#include "registry/window_registry.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "codepage/unicode.h"
#include "parts/part.h"
#include "registry/start_turn.h"

namespace fs = std::filesystem;

namespace tickvane::device {

namespace {

WindowRegistry& reg() { return window_registry(); }

pid_t owner_of(HWND hwnd) { return (pid_t)((uint64_t)(uintptr_t)hwnd >> 24); }

// The kernel's start time of a running process: with the pid it names one process
// for good. Empty for a process that is gone, including one that has died and waits
// to be reaped (a zombie keeps its /proc entry but owns no windows any more).
std::string start_time_of(pid_t pid)
{
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string stat((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    size_t close = stat.rfind(')');
    if (close == std::string::npos || close + 2 >= stat.size())
        return {};
    std::istringstream fields(stat.substr(close + 2));
    std::string field;
    fields >> field;  // the state
    if (field == "Z" || field == "X" || field == "x")
        return {};
    for (int i = 1; i < 20 && fields >> field; ++i) {
    }
    return field;
}

sockaddr_un address_of(pid_t pid, socklen_t& length)
{
    sockaddr_un a{};
    a.sun_family = AF_UNIX;
    std::string name = "tickvane-foreground-" + std::to_string(pid);
    std::memcpy(a.sun_path + 1, name.data(), name.size());  // abstract: nothing left on disk
    length = (socklen_t)(offsetof(sockaddr_un, sun_path) + 1 + name.size());
    return a;
}

fs::path entry_path(HWND hwnd)
{
    char name[64];
    std::snprintf(name, sizeof name, "%llx", (unsigned long long)(uintptr_t)hwnd);
    return reg().folder / name;
}

struct Entry {
    HWND hwnd = nullptr;
    std::string class_name, title;
    bool alive = false;
};

Entry read_entry(const fs::path& p)
{
    Entry e;
    std::ifstream in(p);
    unsigned long long value = 0;
    long pid = 0;
    std::string started;
    if (!(in >> std::hex >> value >> std::dec >> pid >> started))
        return e;
    in.ignore(1);
    std::getline(in, e.class_name);
    std::getline(in, e.title);
    e.hwnd = (HWND)(uintptr_t)value;
    std::string now_started = start_time_of((pid_t)pid);
    e.alive = pid == owner_of(e.hwnd) && !now_started.empty() && now_started == started;
    return e;
}

bool same_class(const char16_t* wanted, const std::string& have)
{
    return wanted == nullptr || same_name_ignoring_case(utf16_from_utf8(have), wanted);
}

bool same_title(const char16_t* wanted, const std::string& have)
{
    return wanted == nullptr || utf8_from_utf16(wanted) == have;
}

}  // namespace

void registry_open(const std::string& device_root)
{
    registry_close();
    std::error_code ec;
    reg().folder = fs::path(device_root) / ".device" / "windows";
    fs::create_directories(reg().folder, ec);
    int fd = socket(AF_UNIX, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    socklen_t length = 0;
    sockaddr_un a = address_of(getpid(), length);
    if (fd >= 0 && bind(fd, (sockaddr*)&a, length) != 0) {
        close(fd);
        fd = -1;
    }
    reg().socket_fd = fd;
}

void registry_close()
{
    for (HWND hwnd : std::vector<HWND>(reg().own))
        registry_remove(hwnd);
    if (reg().socket_fd >= 0)
        close(reg().socket_fd);
    reg().socket_fd = -1;
}

void registry_add(HWND hwnd, const std::u16string& class_name, const std::u16string& title)
{
    if (reg().folder.empty())
        return;
    fs::path p = entry_path(hwnd);
    fs::path tmp = p;
    tmp += ".tmp";
    {
        std::ofstream out(tmp, std::ios::trunc);
        out << std::hex << (unsigned long long)(uintptr_t)hwnd << std::dec << ' ' << getpid() << ' '
            << start_time_of(getpid()) << '\n'
            << utf8_from_utf16(class_name) << '\n'
            << utf8_from_utf16(title) << '\n';
        if (!out)
            return;
    }
    std::error_code ec;
    fs::rename(tmp, p, ec);  // whole entries only, never a half-written one
    if (!ec)
        reg().own.push_back(hwnd);
    start_turn_give();  // a later start of this program now finds this window
}

void registry_remove(HWND hwnd)
{
    auto& own = reg().own;
    own.erase(std::remove(own.begin(), own.end(), hwnd), own.end());
    std::error_code ec;
    if (!reg().folder.empty())
        fs::remove(entry_path(hwnd), ec);
}

HWND registry_find_other(const char16_t* class_name, const char16_t* title)
{
    std::error_code ec;
    if (reg().folder.empty())
        return nullptr;
    for (const auto& item : fs::directory_iterator(reg().folder, ec)) {
        if (item.path().extension() == ".tmp")
            continue;
        Entry e = read_entry(item.path());
        if (e.hwnd == nullptr || owner_of(e.hwnd) == getpid())
            continue;
        if (!e.alive) {
            fs::remove(item.path(), ec);  // left behind by a process that is gone
            continue;
        }
        if (same_class(class_name, e.class_name) && same_title(title, e.title))
            return e.hwnd;
    }
    return nullptr;
}

bool registry_send_foreground(HWND hwnd)
{
    if (owner_of(hwnd) == getpid())
        return false;  // one of ours that is gone: asking ourselves would only ask again
    int fd = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    socklen_t length = 0;
    sockaddr_un a = address_of(owner_of(hwnd), length);
    uint64_t value = (uint64_t)(uintptr_t)hwnd;
    bool sent = sendto(fd, &value, sizeof value, 0, (sockaddr*)&a, length) == (ssize_t)sizeof value;
    close(fd);
    return sent;
}

std::vector<HWND> registry_take_foreground_requests()
{
    std::vector<HWND> requests;
    uint64_t value = 0;
    while (reg().socket_fd >= 0 && recv(reg().socket_fd, &value, sizeof value, 0) == (ssize_t)sizeof value)
        requests.push_back((HWND)(uintptr_t)value);
    return requests;
}

int registry_fd() { return reg().socket_fd; }

namespace {

constinit parts::PartOf<WindowRegistry> g_registry;

}  // namespace

WindowRegistry& window_registry() { return g_registry.get(); }

}  // namespace tickvane::device
