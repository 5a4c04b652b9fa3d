#include "notify/program_launcher.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cstring>
#include <filesystem>
#include <vector>

#include "codepage/unicode.h"
#include "files/device_path.h"
#include "notify/trusted_program.h"
#include "settings/device_image.h"

extern char** environ;

namespace tickvane::device::notify {

namespace {

// posix_spawn reports a failed exec as an error (where fork + exec would only see
// the child exit) and skips copying the service's page tables.
int spawn(const std::string& program, const std::string& arguments)
{
    std::string path = program, argument = arguments;
    std::vector<char*> argv{path.data()};
    if (!argument.empty())
        argv.push_back(argument.data());
    argv.push_back(nullptr);

    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
    sigset_t none, defaults;
    sigemptyset(&none);
    sigemptyset(&defaults);
    for (int sig : {SIGCHLD, SIGPIPE, SIGTERM, SIGINT, SIGHUP})
        sigaddset(&defaults, sig);
    posix_spawnattr_setsigmask(&attr, &none);  // the service blocks what it reads from its signalfd
    posix_spawnattr_setsigdefault(&attr, &defaults);
    posix_spawnattr_setpgroup(&attr, 0);  // a Ctrl-C meant for a foreground service spares its programs
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETPGROUP);
    pid_t pid = 0;
    int rc = posix_spawn(&pid, path.c_str(), nullptr, &attr, argv.data(), environ);
    posix_spawnattr_destroy(&attr);
    return rc;
}

}  // namespace

bool launch_program(const std::string& root, const Registration& registration, std::string& why)
{
    auto path = readable_path(root, own_image(), utf16_from_utf8(registration.application));
    std::error_code ec;
    if (!path || !std::filesystem::is_regular_file(*path, ec)) {
        why = "no such program under " + root;
        return false;
    }
    std::filesystem::path program;
    why = untrusted(*path, trusted_tops(root, own_image()), program);
    if (!why.empty()) {
        why = "not trusted, skipped: " + why;
        return false;
    }
    int rc = spawn(program.string(), registration.arguments);
    if (rc != 0) {
        why = program.string() + ": " + std::strerror(rc);
        return false;
    }
    return true;
}

int reap_children()
{
    int collected = 0;
    while (waitpid(-1, nullptr, WNOHANG) > 0)
        ++collected;
    return collected;
}

}  // namespace tickvane::device::notify
