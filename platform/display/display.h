// How the device's screen reaches a person: a desktop window, or nothing but memory
// (and a PNG file). Each backend lives in a folder of its own behind this interface.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tickvane::display {

// The composed screen, 0x00RRGGBB per pixel, `stride` pixels per row.
struct Pixels {
    const uint32_t* data = nullptr;
    int width = 0;
    int height = 0;
    int stride = 0;
};

struct Rect {
    int x = 0, y = 0, w = 0, h = 0;
};

// Where the desktop window stands: its frame's top-left on the desktop, and how far the
// frame reaches beyond the screen image on each side (title bar, borders), so that the
// whole frame is known again for an image of another size.
struct WindowPlace {
    int x = 0, y = 0;
    int left = 0, top = 0, right = 0, bottom = 0;
    bool operator==(const WindowPlace&) const = default;
};

enum class EventKind {
    PointerDown,  // screen coordinates (already divided by the zoom)
    PointerUp,
    PointerMove,
    KeyDown,  // `vk` is a Win32 virtual-key code
    KeyUp,
    FocusLost,  // the user switched to another program on the desktop
    FocusGained,
    Rotate,  // the person asked for portrait <-> landscape
    Close,   // the desktop window's close button
    Moved,   // the desktop window may have moved on the desktop (see Display::place)
};

// Why Display::wait returned.
enum class WaitEnd {
    Input,       // poll() has an event
    Descriptor,  // one of the caller's descriptors may be readable
    TimedOut,
    Interrupted,  // a signal, or poll() failed: the caller looks at everything again
};

struct Event {
    EventKind kind = EventKind::PointerMove;
    int x = 0, y = 0;
    int vk = 0;
    bool shift = false;
    bool alt = false;
};

class Display {
public:
    virtual ~Display() = default;
    virtual const char* name() const = 0;
    // Shows the screen. `changed` lists the areas that differ from the previous call;
    // the first call after open or resize lists the whole screen. `screen` stays valid and
    // unchanged until the next present or resize: the display may send parts of it again.
    virtual void present(const Pixels& screen, const std::vector<Rect>& changed) = 0;
    // The screen took a new size (rotation).
    virtual void resize(int width, int height) = 0;
    // Blocks until an event is pending, one of `fds` is readable, or `timeout_ms`
    // passes (-1: no limit). Never wakes on its own otherwise.
    virtual WaitEnd wait(int timeout_ms, const std::vector<int>& fds) = 0;
    // The next event that has arrived; never blocks, never reads the connection.
    virtual bool poll(Event& out) = 0;
    // Bring the desktop window in front of others (a second launch asked for it).
    virtual void raise() = 0;
    // Where the person left the desktop window, to put it there next time; nothing when
    // there is no desktop window or it does not stand where a person put it (minimised,
    // unmapped, in the middle of a window manager's animation).
    virtual std::optional<WindowPlace> place() { return std::nullopt; }
};

// How the desktop window starts.
struct DesktopOptions {
    int scale = 0;                     // 0: follow the monitor
    std::optional<WindowPlace> place;  // where its frame goes (kept on the work area); else the window manager's choice
    std::vector<uint32_t> icon;        // _NET_WM_ICON: width, height, ARGB pixels, repeated
};

// A desktop window on the X server that DISPLAY names; null with `why_not` filled when
// no display is reachable or it cannot show 24-bit colour.
// The zoom is the requested one where it fits the work area in both orientations, else
// the largest that does (with a one-line warning on stderr); 0 asks for the monitor's
// own: 2, more on a HiDPI desktop (its Xft.dpi / 48).
std::unique_ptr<Display> open_desktop_window(int width, int height, const DesktopOptions& options,
                                             std::string* why_not);
std::unique_ptr<Display> open_desktop_window(int width, int height, int scale, std::string* why_not);

// The screen in memory only; when `png_path` is not empty the PNG there is replaced
// atomically after every present that changed something.
std::unique_ptr<Display> open_headless(int width, int height, const std::string& png_path);

}  // namespace tickvane::display
