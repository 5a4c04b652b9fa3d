#include "window_manager.h"

#include <thread>

namespace tickvane::e2e {

std::unique_ptr<Child> start_window_manager(const std::string& display, std::string* why_not)
{
    auto env = environment_with({"DISPLAY=" + display});
    if (run_bounded({"sh", "-c", "command -v openbox"}, env, std::chrono::seconds(5)).exit_code != 0) {
        *why_not = "openbox is not installed";
        return nullptr;
    }
    auto wm = std::make_unique<Child>(std::vector<std::string>{"openbox", "--sm-disable"}, env);
    // A managing window manager names itself on the root window.
    for (int i = 0; i < 100; ++i) {
        Outcome root = run_bounded({"xprop", "-root", "_NET_SUPPORTING_WM_CHECK"}, env, std::chrono::seconds(5));
        if (root.output.find("window id #") != std::string::npos)
            return wm;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    *why_not = "openbox did not take the screen: " + wm->output();
    return nullptr;
}

}  // namespace tickvane::e2e
