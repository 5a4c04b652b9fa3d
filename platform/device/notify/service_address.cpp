#include "notify/service_address.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace tickvane::device::notify {

namespace {

uint64_t fnv1a(const std::string& text)
{
    uint64_t h = 0xcbf29ce484222325ull;
    for (unsigned char c : text) {
        h ^= c;
        h *= 0x100000001b3ull;
    }
    return h;
}

socklen_t address_of(const std::string& root, sockaddr_un& address)
{
    std::string name = service_socket_name(root);
    address = {};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, name.data(), name.size());
    return (socklen_t)(offsetof(sockaddr_un, sun_path) + name.size());
}

}  // namespace

std::string root_tag(const std::string& root)
{
    std::error_code ec;
    std::filesystem::path canonical = std::filesystem::weakly_canonical(root, ec);
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", (unsigned long long)fnv1a(ec ? root : canonical.string()));
    return hex;
}

std::string service_socket_name(const std::string& root)
{
    return std::string(1, '\0') + "tickvane-notify-" + root_tag(root);
}

bool wake_service(const std::string& root)
{
    int fd = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return false;
    sockaddr_un address;
    socklen_t length = address_of(root, address);
    ssize_t sent = sendto(fd, "w", 1, 0, (const sockaddr*)&address, length);
    // A full queue means the service has wake-ups waiting already.
    bool listening = sent == 1 || errno == EAGAIN;
    close(fd);
    return listening;
}

int bind_service_socket(const std::string& root)
{
    int fd = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return -1;
    sockaddr_un address;
    socklen_t length = address_of(root, address);
    if (bind(fd, (const sockaddr*)&address, length) != 0) {
        int saved = errno;
        close(fd);
        errno = saved;
        return -1;
    }
    return fd;
}

}  // namespace tickvane::device::notify
