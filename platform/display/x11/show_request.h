// Asking for the window to be shown until a window manager has taken it. One that is
// still starting can drop the request that maps a window (openbox does, when the request
// comes between its claiming the screen and its first look at the windows): the window
// then stays unmapped and unmanaged for good, an empty taskbar entry at best.
#pragma once

#include <X11/Xlib.h>

#include <chrono>

#include "atoms.h"

namespace tickvane::display {

class ShowRequest {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr std::chrono::milliseconds kPatience{1000};

    // Maps `window` (with every property already set) and starts watching.
    void send(::Display* dpy, Window window, Clock::time_point now);
    // The server mapped it (MapNotify), or a window manager took it: nothing more to ask.
    void settled() { settled_ = true; }
    // Once `kPatience` has passed unanswered, maps it again unless a window manager has
    // taken it (WM_STATE set). Milliseconds until it should be called next; -1 once settled.
    int ask_again_if_dropped(::Display* dpy, Window window, const Atoms& atoms, Clock::time_point now);

private:
    Clock::time_point sent_at_{};
    bool settled_ = false;
};

}  // namespace tickvane::display
