// relaunch_lateness [--timeout-ms=N]
//
// Registers a launch of the installed clock with the device's notification service
// (as the clock's own dismissal does) for the second whole second from now, then
// looks about once a millisecond at $DISPLAY for a painted "Tickvane" window and
// prints the milliseconds from the registered second to that first painted frame.
// The device root comes from TICKVANE_DEVICE_ROOT, as for every device program.
// Exit status: 0 painted; 1 refused or timed out; 2 bad command line; 3 no X display.
#include <sys/time.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <thread>

#include "settings/settings.h"
#include "startup/start_device.h"
#include "win32.h"
#include "window_probe.h"

using namespace tickvane;

namespace {

double realtime_ms()
{
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    return (double)ts.tv_sec * 1000.0 + (double)ts.tv_nsec / 1e6;
}

SYSTEMTIME local_time_of(time_t t)
{
    tm local{};
    localtime_r(&t, &local);
    SYSTEMTIME st{};
    st.wYear = (WORD)(local.tm_year + 1900);
    st.wMonth = (WORD)(local.tm_mon + 1);
    st.wDayOfWeek = (WORD)local.tm_wday;
    st.wDay = (WORD)local.tm_mday;
    st.wHour = (WORD)local.tm_hour;
    st.wMinute = (WORD)local.tm_min;
    st.wSecond = (WORD)local.tm_sec;
    return st;
}

bool register_launch(time_t due)
{
    static WCHAR application[] = u"\\Program Files\\Tickvane\\zubo.exe";
    static WCHAR arguments[] = u"";
    CE_NOTIFICATION_TRIGGER trigger{};
    trigger.dwSize = sizeof trigger;
    trigger.dwType = CNT_TIME;
    trigger.lpszApplication = application;
    trigger.lpszArguments = arguments;
    trigger.stStartTime = local_time_of(due);
    return CeSetUserNotificationEx(nullptr, &trigger, nullptr) != nullptr;
}

}  // namespace

int main(int argc, char** argv)
{
    int timeout_ms = 10000;
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--timeout-ms=", 13) == 0 && std::atoi(argv[i] + 13) > 0) {
            timeout_ms = std::atoi(argv[i] + 13);
        } else {
            std::fprintf(stderr, "usage: relaunch_lateness [--timeout-ms=N]\n");
            return 2;
        }
    }
    std::string why;
    auto probe = bench::WindowProbe::connect(&why);
    if (!probe) {
        std::fprintf(stderr, "relaunch_lateness: %s\n", why.c_str());
        return 3;
    }
    device::start_device(device::settings_from_environment(argv[0]));

    time_t due = time(nullptr) + 2;
    if (!register_launch(due)) {
        std::fprintf(stderr, "relaunch_lateness: the notification service refused the launch\n");
        return 1;
    }
    double due_ms = (double)due * 1000.0;
    for (;;) {
        if (probe->look("Tickvane") == bench::WindowState::Painted) {
            std::printf("%.1f\n", realtime_ms() - due_ms);
            return 0;
        }
        if (realtime_ms() - due_ms > timeout_ms) {
            std::fprintf(stderr, "relaunch_lateness: no painted clock %d ms after the registered second\n", timeout_ms);
            return 1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}
