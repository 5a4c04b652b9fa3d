#include "show_request.h"

namespace tickvane::display {
namespace {

bool managed(::Display* dpy, Window window, const Atoms& atoms)
{
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    bool found = XGetWindowProperty(dpy, window, atoms.wm_state, 0, 1, False, atoms.wm_state, &type, &format, &count,
                                    &after, &data) == Success &&
                 type == atoms.wm_state;
    if (data != nullptr)
        XFree(data);
    return found;
}

}  // namespace

void ShowRequest::send(::Display* dpy, Window window, Clock::time_point now)
{
    XMapWindow(dpy, window);
    XFlush(dpy);
    sent_at_ = now;
}

int ShowRequest::ask_again_if_dropped(::Display* dpy, Window window, const Atoms& atoms, Clock::time_point now)
{
    if (settled_)
        return -1;
    auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(now - sent_at_);
    if (waited < kPatience)
        return static_cast<int>((kPatience - waited).count());
    if (managed(dpy, window, atoms)) {
        settled_ = true;  // minimised or on another desktop is the window manager's choice
        return -1;
    }
    send(dpy, window, now);
    return static_cast<int>(kPatience.count());
}

}  // namespace tickvane::display
