// register_at [--commit-only] ROOT "YYYY-MM-DD HH:MM:SS" APPLICATION [ARGUMENTS]: stores
// a registration for the root's notification service and wakes it (never starts
// one), as CeSetUserNotificationEx does after its checks. --commit-only ends right
// after the commit, as a registering process killed before its wake-up would.
#include <cstdio>
#include <cstring>
#include <string>

#include "notify/notification_store.h"
#include "notify/registration.h"

int main(int argc, char** argv)
{
    bool commit_only = argc > 1 && std::strcmp(argv[1], "--commit-only") == 0;
    argc -= commit_only;
    argv += commit_only;
    if (argc < 4 || argc > 5) {
        std::fputs("usage: register_at [--commit-only] ROOT \"YYYY-MM-DD HH:MM:SS\" APPLICATION [ARGUMENTS]\n", stderr);
        return 2;
    }
    tickvane::device::notify::Request request{argv[2], argv[3], argc > 4 ? argv[4] : ""};
    std::string why;
    if (commit_only) {
        auto store = tickvane::device::notify::NotificationStore::open(argv[1], true, why);
        if (store && store->add(request.due, request.application, request.arguments))
            return 0;
        why = store ? store->error() : why;
    } else if (tickvane::device::notify::register_request(argv[1], "", request, false, why)) {
        return 0;
    }
    std::fprintf(stderr, "register_at: %s\n", why.c_str());
    return 1;
}
