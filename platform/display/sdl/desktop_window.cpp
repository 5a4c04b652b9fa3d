// The device's screen in an SDL2 window, drawn into the window surface (no renderer,
// no OpenGL) and updated only where it changed.
#include <algorithm>

#include "display.h"
#include "event_translation.h"
#include "fd_waiter.h"
#include "scaled_blit.h"
#include "sdl_video.h"

namespace tickvane::display {
namespace {

// Far beyond any monitor; keeps width * scale well inside int.
constexpr int kMaxWindowSide = 16384;

bool fits(int width, int height, int scale) {
    return width > 0 && height > 0 && scale > 0 && width <= kMaxWindowSide / scale &&
           height <= kMaxWindowSide / scale;
}

class DesktopWindow final : public Display {
public:
    DesktopWindow(SDL_Window* window, WindowGeometry geometry)
        : window_(window), geometry_(geometry), x11_fd_(x11_connection_fd(window)) {}

    ~DesktopWindow() override {
        SDL_DestroyWindow(window_);
        stop_sdl_video();
    }

    const char* name() const override { return "window"; }
    void present(const Pixels& screen, const std::vector<Rect>& changed) override;
    void resize(int width, int height) override;
    void wait(int timeout_ms, const std::vector<int>& fds) override;
    bool poll(Event& out) override;
    void raise() override;

private:
    bool has_pending_event();
    void wait_on_sdl(int timeout_ms, const std::vector<int>& fds);
    void handle_internally(const SDL_Event& event);

    SDL_Window* window_;
    WindowGeometry geometry_;
    int x11_fd_;
    FdWaiter waiter_;
    std::vector<SDL_Rect> updated_;  // reused: presenting allocates nothing once warmed up
};

void DesktopWindow::present(const Pixels& screen, const std::vector<Rect>& changed) {
    SDL_Surface* surface = SDL_GetWindowSurface(window_);  // cheap unless a resize invalidated it
    if (surface == nullptr) return;
    int scale = geometry_.scale;
    updated_.clear();
    for (const Rect& area : changed) {
        Rect clipped = clip_to_screen(area, screen, surface->w, surface->h, scale);
        if (clipped.w == 0) continue;
        blit_scaled(screen, clipped, surface, scale);
        updated_.push_back(SDL_Rect{clipped.x * scale, clipped.y * scale, clipped.w * scale, clipped.h * scale});
    }
    if (!updated_.empty()) SDL_UpdateWindowSurfaceRects(window_, updated_.data(), static_cast<int>(updated_.size()));
}

void DesktopWindow::resize(int width, int height) {
    if (!fits(width, height, geometry_.scale)) return;
    geometry_.width = width;
    geometry_.height = height;
    // The surface goes stale with the old size; SDL_GetWindowSurface makes a new one at the next present.
    SDL_SetWindowSize(window_, width * geometry_.scale, height * geometry_.scale);
}

void DesktopWindow::raise() {
    if ((SDL_GetWindowFlags(window_) & SDL_WINDOW_MINIMIZED) != 0) SDL_RestoreWindow(window_);
    SDL_RaiseWindow(window_);
}

bool DesktopWindow::poll(Event& out) {
    SDL_Event event;
    while (SDL_PollEvent(&event) == 1) {
        handle_internally(event);
        if (translate_event(event, geometry_, out)) return true;
    }
    return false;
}

// What the window deals with on its own, without the device.
void DesktopWindow::handle_internally(const SDL_Event& event) {
    // The surface still holds the last frame: an uncovered window is repainted from it.
    if (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_EXPOSED) {
        SDL_UpdateWindowSurface(window_);
    }
}

// Reads whatever the X connection holds into SDL's queue and drops the events the
// device would ignore, so that waking up always means something.
bool DesktopWindow::has_pending_event() {
    SDL_PumpEvents();
    SDL_Event event;
    Event ignored;
    while (SDL_PeepEvents(&event, 1, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) == 1) {
        if (translate_event(event, geometry_, ignored)) return true;
        SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT);
        handle_internally(event);
    }
    return false;
}

void DesktopWindow::wait(int timeout_ms, const std::vector<int>& fds) {
    if (x11_fd_ < 0) {
        wait_on_sdl(timeout_ms, fds);
        return;
    }
    Deadline deadline = deadline_after(timeout_ms);
    // Only the X socket and the caller's descriptors can wake this: no timer ticks meanwhile.
    while (!has_pending_event()) {
        FdWaitResult result = waiter_.wait(fds, x11_fd_, remaining_ms(deadline, timeout_ms));
        if (result != FdWaitResult::ExtraFdReady) return;
    }
}

// Drivers without a descriptor to poll (wayland): SDL blocks on its own, and the caller's
// descriptors are looked at between short slices.
void DesktopWindow::wait_on_sdl(int timeout_ms, const std::vector<int>& fds) {
    constexpr int kSliceMs = 25;
    Deadline deadline = deadline_after(timeout_ms);
    while (!has_pending_event()) {
        if (!fds.empty() && waiter_.wait(fds, -1, 0) != FdWaitResult::TimedOut) return;
        int left = remaining_ms(deadline, timeout_ms);
        if (left == 0) return;
        int slice = fds.empty() ? left : (left < 0 ? kSliceMs : std::min(left, kSliceMs));
        if (slice < 0) {
            SDL_WaitEvent(nullptr);
        } else {
            SDL_WaitEventTimeout(nullptr, slice);
        }
    }
}

}  // namespace

std::unique_ptr<Display> open_desktop_window(int width, int height, int scale, std::string* why_not) {
    std::string reason;
    auto fail = [&](const std::string& why) -> std::unique_ptr<Display> {
        if (why_not != nullptr) *why_not = why;
        return nullptr;
    };
    if (!fits(width, height, scale)) {
        return fail("bad window size " + std::to_string(width) + "x" + std::to_string(height) + " at zoom " +
                    std::to_string(scale));
    }
    if (!start_sdl_video(reason)) return fail(reason);
    SDL_Window* window = SDL_CreateWindow("Tickvane", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED,
                                          width * scale, height * scale, SDL_WINDOW_SHOWN);
    if (window == nullptr || SDL_GetWindowSurface(window) == nullptr) {
        reason = std::string("cannot open a window: ") + SDL_GetError();
        if (window != nullptr) SDL_DestroyWindow(window);
        stop_sdl_video();
        return fail(reason);
    }
    return std::make_unique<DesktopWindow>(window, WindowGeometry{width, height, scale});
}

}  // namespace tickvane::display
