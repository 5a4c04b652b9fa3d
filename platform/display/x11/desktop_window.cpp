// The device's screen in an X11 window, sent where it changed, scaled a band of rows at a
// time; an uncovered part is sent again from the device's own screen.
#include <X11/XKBlib.h>

#include <algorithm>
#include <deque>
#include <optional>

#include "display.h"
#include "event_translation.h"
#include "fd_waiter.h"
#include "image_band.h"
#include "show_request.h"
#include "top_level_window.h"
#include "warn_once.h"
#include "window_place.h"
#include "work_area.h"
#include "x11_connection.h"
#include "zoom.h"

namespace tickvane::display {
namespace {

// Far beyond any monitor; keeps width * scale well inside int.
constexpr int kMaxWindowSide = 16384;

bool fits(int width, int height, int scale)
{
    return width > 0 && height > 0 && scale > 0 && width <= kMaxWindowSide / scale && height <= kMaxWindowSide / scale;
}

class DesktopWindow final : public Display {
public:
    DesktopWindow(const X11Connection& x, const Atoms& atoms, WindowGeometry geometry, const DesktopOptions& options)
        : dpy_(x.dpy), visual_(x.visual), geometry_(geometry), options_(options), band_(x.dpy, x.visual), atoms_(atoms)
    {}
    ~DesktopWindow() override;

    // Creates and maps the window. False with the reason when its pixels cannot be sent.
    bool start(std::string& why_not);

    const char* name() const override { return "window"; }
    void present(const Pixels& screen, const std::vector<Rect>& changed) override;
    void resize(int width, int height) override;
    WaitEnd wait(int timeout_ms, const std::vector<int>& fds) override;
    bool poll(Event& out) override;
    void raise() override;
    std::optional<WindowPlace> place() override;

private:
    void take_in(int mode);
    bool translate(const XEvent& event, Event& out);
    void repaint(const XExposeEvent& exposed);
    Rect in_window(const Rect& area, const Pixels& screen) const;
    bool is_auto_repeat(const XKeyEvent& release);

    ::Display* dpy_;
    XVisualInfo visual_;
    WindowGeometry geometry_;
    DesktopOptions options_;
    ImageBand band_;
    Atoms atoms_;
    Colormap colormap_ = 0;
    Window window_ = 0;
    GC gc_ = nullptr;
    InputState input_;
    // The device's screen as last presented: it stays valid and unchanged until the next
    // present or resize, so an uncovered window is repainted from it.
    Pixels frame_{};
    unsigned long whole_frame_request_ = 0;  // the first request of the last whole frame sent
    bool repeats_detectable_ = false;
    std::deque<Event> events_;           // taken in, not yet polled
    unsigned long read_at_request_ = 0;  // XNextRequest when the socket was last read
    FdWaiter waiter_;
    ShowRequest show_request_;
};

bool DesktopWindow::start(std::string& why_not)
{
    int w = geometry_.width * geometry_.scale, h = geometry_.height * geometry_.scale;
    colormap_ = XCreateColormap(dpy_, RootWindow(dpy_, visual_.screen), visual_.visual, AllocNone);
    window_ = create_top_level_window(dpy_, visual_, colormap_, w, h, atoms_, options_.place);
    describe_to_desktop(dpy_, window_, atoms_, options_.icon);
    gc_ = XCreateGC(dpy_, window_, 0, nullptr);
    if (!band_.start(why_not))
        return false;
    show_request_.send(dpy_, window_, ShowRequest::Clock::now());
    return true;
}

DesktopWindow::~DesktopWindow()
{
    if (gc_ != nullptr)
        XFreeGC(dpy_, gc_);
    if (window_ != 0)
        XDestroyWindow(dpy_, window_);
    if (colormap_ != 0)
        XFreeColormap(dpy_, colormap_);
    XCloseDisplay(dpy_);
}

// `area` of the screen cut to the screen and to what the window shows of it.
Rect DesktopWindow::in_window(const Rect& area, const Pixels& screen) const
{
    return clip_to_screen(area, screen, geometry_.width * geometry_.scale, geometry_.height * geometry_.scale,
                          geometry_.scale);
}

void DesktopWindow::present(const Pixels& screen, const std::vector<Rect>& changed)
{
    frame_ = screen;
    bool drawn = false;
    for (const Rect& area : changed) {
        Rect clipped = in_window(area, screen);
        if (clipped.w == 0)
            continue;
        if (clipped.w == geometry_.width && clipped.h == geometry_.height)
            whole_frame_request_ = NextRequest(dpy_);
        band_.send(window_, gc_, screen, clipped, geometry_.scale);
        drawn = true;
    }
    if (!drawn)
        return;
    band_.finish();
    if (!repeats_detectable_) {
        // Held keys then repeat as presses alone, so a repeat is told from a new press.
        // Asked once the first frame is on its way: its three round trips need not delay it.
        XkbSetDetectableAutoRepeat(dpy_, True, nullptr);
        repeats_detectable_ = true;
    }
}

void DesktopWindow::resize(int width, int height)
{
    if (!fits(width, height, geometry_.scale))
        return;
    geometry_.width = width;
    geometry_.height = height;
    set_fixed_size(dpy_, window_, width * geometry_.scale, height * geometry_.scale);
    XFlush(dpy_);       // the window manager reshapes the frame while the device draws the new screen
    frame_ = Pixels{};  // the device's screen is made anew at the new size
}

void DesktopWindow::raise() { bring_forward(dpy_, window_, RootWindow(dpy_, visual_.screen), atoms_); }

bool DesktopWindow::poll(Event& out)
{
    // What has arrived is read by wait(), which looks at the connection before it sleeps
    // and when it wakes: a refresh that nothing disturbed asks the socket nothing.
    if (events_.empty())
        take_in(QueuedAlready);
    if (events_.empty())
        return false;
    out = events_.front();
    events_.pop_front();
    return true;
}

// Takes what the connection holds (with `mode` as XEventsQueued reads it), dealing with
// what the window handles itself and keeping what means something to the device.
void DesktopWindow::take_in(int mode)
{
    if (mode != QueuedAlready)
        read_at_request_ = XNextRequest(dpy_);
    while (XEventsQueued(dpy_, mode) > 0) {
        XEvent event;
        XNextEvent(dpy_, &event);
        if (Event e; translate(event, e))
            events_.push_back(e);
    }
}

bool DesktopWindow::translate(const XEvent& event, Event& out)
{
    switch (event.type) {
    case Expose:
        repaint(event.xexpose);
        return false;
    case MapNotify:
        if (event.xmap.window == window_)
            show_request_.settled();
        return false;
    case MappingNotify:  // the keyboard layout changed: look keys up in the new one
        XRefreshKeyboardMapping(const_cast<XMappingEvent*>(&event.xmapping));
        return false;
    case KeyRelease:
        if (is_auto_repeat(event.xkey))
            return false;
        break;
    case ConfigureNotify:  // window managers send one for every move of their frame
        out = Event{};
        out.kind = EventKind::Moved;
        return true;
    default:
        break;
    }
    return translate_event(event, geometry_, atoms_, input_, out);
}

// An uncovered part of the window is sent again, without asking the device.
void DesktopWindow::repaint(const XExposeEvent& exposed)
{
    if (frame_.data == nullptr)
        return;  // nothing yet: leave it to the first present
    // Uncovered before the server drew a whole frame: that frame already covers it (the
    // window's mapping exposes it while the first frame is on its way).
    if (exposed.serial < whole_frame_request_)
        return;
    int scale = geometry_.scale;
    // The screen pixels whose blocks the exposed window area touches.
    int x0 = std::max(exposed.x, 0) / scale, y0 = std::max(exposed.y, 0) / scale;
    int x1 = (exposed.x + exposed.width + scale - 1) / scale, y1 = (exposed.y + exposed.height + scale - 1) / scale;
    Rect area = in_window(Rect{x0, y0, x1 - x0, y1 - y0}, frame_);
    if (area.w > 0)
        band_.send(window_, gc_, frame_, area, scale);
    if (exposed.count == 0)
        band_.finish();  // the last of a series
}

// Where the server cannot report repeats as presses alone, a held key arrives as a release
// and a press with the same time: the release is not the person letting go.
bool DesktopWindow::is_auto_repeat(const XKeyEvent& release)
{
    if (XEventsQueued(dpy_, QueuedAfterReading) == 0)
        return false;
    XEvent next;
    XPeekEvent(dpy_, &next);
    return next.type == KeyPress && next.xkey.keycode == release.keycode && next.xkey.time == release.time;
}

std::optional<WindowPlace> DesktopWindow::place()
{
    std::optional<FrameFacts> facts = frame_facts(dpy_, window_, atoms_);
    return facts ? chosen_place(*facts) : std::nullopt;
}

WaitEnd DesktopWindow::wait(int timeout_ms, const std::vector<int>& fds)
{
    Deadline deadline = deadline_after(timeout_ms);
    // Only the X connection and the caller's descriptors can wake this: no timer ticks meanwhile.
    for (bool socket_readable = false;; socket_readable = true) {
        int until_next_ask = show_request_.ask_again_if_dropped(dpy_, window_, atoms_, ShowRequest::Clock::now());
        // Sends what is queued and takes in what Xlib and the socket hold, so that the
        // socket's readiness then says all. With nothing asked of the server since the socket
        // was last read and nothing come since, Xlib's queue already says all.
        bool asked = XNextRequest(dpy_) != read_at_request_;
        take_in(asked || socket_readable ? QueuedAfterFlush : QueuedAlready);
        if (!events_.empty())
            return WaitEnd::Input;
        int left = remaining_ms(deadline, timeout_ms);
        bool ask_first = until_next_ask >= 0 && (left < 0 || until_next_ask < left);
        switch (waiter_.wait(fds, ConnectionNumber(dpy_), ask_first ? until_next_ask : left)) {
        case FdWaitResult::ExtraFdReady:
            continue;
        case FdWaitResult::ExtraFdBroken:
            take_in(QueuedAfterFlush);  // Xlib sees the connection gone and ends the process
            return WaitEnd::Interrupted;
        case FdWaitResult::CallerFdReady:
            return WaitEnd::Descriptor;
        case FdWaitResult::TimedOut:
            if (ask_first)
                continue;
            return WaitEnd::TimedOut;
        case FdWaitResult::Interrupted:
            return WaitEnd::Interrupted;
        }
    }
}

}  // namespace

std::unique_ptr<Display> open_desktop_window(int width, int height, const DesktopOptions& options, std::string* why_not)
{
    auto fail = [&](const std::string& why) -> std::unique_ptr<Display> {
        if (why_not != nullptr)
            *why_not = why;
        return nullptr;
    };
    if (!fits(width, height, 1) || options.scale < 0) {
        return fail("bad window size " + std::to_string(width) + "x" + std::to_string(height) + " at zoom " +
                    std::to_string(options.scale));
    }
    X11Connection x;
    std::string reason;
    if (!open_x11_connection(x, reason))
        return fail(reason);
    Atoms atoms = intern_atoms(x.dpy);
    ZoomFacts facts = zoom_facts(x.dpy, x.visual.screen, atoms.net_workarea);
    facts.screen_width = width;
    facts.screen_height = height;
    facts.requested = options.scale;
    std::string warning;
    int scale = std::min(choose_zoom(facts, &warning), kMaxWindowSide / std::max(width, height));
    if (!warning.empty())
        warn_once("%s", warning.c_str());
    DesktopOptions chosen = options;
    chosen.scale = scale;
    if (options.place) {
        // A kept place may be off the work area now: another zoom, screen size or monitor.
        chosen.place = place_inside(*options.place, width * scale, height * scale,
                                    monitor_work_areas(x.dpy, x.visual.screen, atoms.net_workarea));
    }
    auto window = std::make_unique<DesktopWindow>(x, atoms, WindowGeometry{width, height, scale}, chosen);
    if (!window->start(reason))
        return fail(reason);
    return window;
}

std::unique_ptr<Display> open_desktop_window(int width, int height, int scale, std::string* why_not)
{
    if (scale <= 0) {
        if (why_not != nullptr)
            *why_not = "bad zoom " + std::to_string(scale);
        return nullptr;
    }
    DesktopOptions options;
    options.scale = scale;
    return open_desktop_window(width, height, options, why_not);
}

}  // namespace tickvane::display
