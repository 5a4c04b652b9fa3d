// register_at ROOT "YYYY-MM-DD HH:MM:SS" APPLICATION [ARGUMENTS]: stores a registration
// for the root's notification service and wakes it (never starts one), as
// CeSetUserNotificationEx does after its checks.
#include <cstdio>
#include <string>

#include "notify/registration.h"

int main(int argc, char** argv)
{
    if (argc < 4 || argc > 5) {
        std::fputs("usage: register_at ROOT \"YYYY-MM-DD HH:MM:SS\" APPLICATION [ARGUMENTS]\n", stderr);
        return 2;
    }
    tickvane::device::notify::Request request{argv[2], argv[3], argc > 4 ? argv[4] : ""};
    std::string why;
    if (tickvane::device::notify::register_request(argv[1], request, false, why))
        return 0;
    std::fprintf(stderr, "register_at: %s\n", why.c_str());
    return 1;
}
