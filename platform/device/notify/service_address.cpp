#include "notify/service_address.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "notify/notification_store.h"

namespace tickvane::device::notify {

namespace {

constexpr char kWake = 'w';
constexpr char kWho = '?';

uint64_t fnv1a(const std::string& text)
{
    uint64_t h = 0xcbf29ce484222325ull;
    for (unsigned char c : text) {
        h ^= c;
        h *= 0x100000001b3ull;
    }
    return h;
}

// The socket's address; a path too long for sun_path is reached through the
// folder's descriptor, held in `folder` until the caller is done.
struct Address {
    sockaddr_un un{};
    socklen_t length = 0;
    int folder = -1;
    explicit Address(const std::string& root)
    {
        std::string path = service_socket_path(root);
        if (path.size() >= sizeof un.sun_path) {
            folder = open(device_folder(root).c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
            path = "/proc/self/fd/" + std::to_string(folder) + "/service.sock";
        }
        un.sun_family = AF_UNIX;
        std::memcpy(un.sun_path, path.data(), std::min(path.size(), sizeof un.sun_path - 1));
        length = (socklen_t)(offsetof(sockaddr_un, sun_path) + std::strlen(un.sun_path) + 1);
    }
    ~Address()
    {
        if (folder >= 0)
            close(folder);
    }
    const sockaddr* get() const { return (const sockaddr*)&un; }
};

int datagram_socket() { return socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0); }

}  // namespace

std::string root_tag(const std::string& root)
{
    std::error_code ec;
    std::filesystem::path canonical = std::filesystem::weakly_canonical(root, ec);
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", (unsigned long long)fnv1a(ec ? root : canonical.string()));
    return hex;
}

std::string service_socket_path(const std::string& root)
{
    return (std::filesystem::path(device_folder(root)) / "service.sock").string();
}

bool wake_service(const std::string& root)
{
    int fd = datagram_socket();
    if (fd < 0)
        return false;
    Address address(root);
    ssize_t sent = sendto(fd, &kWake, 1, 0, address.get(), address.length);
    // A full queue means the service has wake-ups waiting already.
    bool listening = sent == 1 || errno == EAGAIN;
    close(fd);
    return listening;
}

std::optional<pid_t> ask_service(const std::string& root, int wait_ms)
{
    int fd = datagram_socket();
    if (fd < 0)
        return std::nullopt;
    // An unnamed socket gets no answer: bind to a fresh abstract name. Connected, it
    // hears only the service's own address.
    sockaddr_un self{};
    self.sun_family = AF_UNIX;
    Address address(root);
    std::optional<pid_t> pid;
    char answer[32] = {};
    pollfd p{fd, POLLIN, 0};
    if (bind(fd, (const sockaddr*)&self, sizeof(sa_family_t)) == 0 && connect(fd, address.get(), address.length) == 0 &&
        send(fd, &kWho, 1, 0) == 1 && poll(&p, 1, wait_ms) == 1) {
        ssize_t n = recv(fd, answer, sizeof answer - 1, 0);
        long value = n > 0 ? std::strtol(answer, nullptr, 10) : 0;
        if (value > 1)
            pid = (pid_t)value;
    }
    close(fd);
    return pid;
}

int bind_service_socket(const std::string& root)
{
    int fd = datagram_socket();
    if (fd < 0)
        return -1;
    Address address(root);
    unlink(address.un.sun_path);
    if (bind(fd, address.get(), address.length) != 0) {
        int saved = errno;
        close(fd);
        errno = saved;
        return -1;
    }
    return fd;
}

int answer_datagram(int socket)
{
    char byte = 0;
    sockaddr_un from{};
    socklen_t length = sizeof from;
    if (recvfrom(socket, &byte, 1, 0, (sockaddr*)&from, &length) < 0)
        return -1;
    if (byte == kWho && length > sizeof(sa_family_t)) {
        std::string pid = std::to_string(getpid());
        sendto(socket, pid.data(), pid.size(), MSG_DONTWAIT, (const sockaddr*)&from, length);
    }
    return byte == kWake ? 1 : 0;
}

}  // namespace tickvane::device::notify
