// The contents of a window as an XImage, through MIT-SHM when the server offers it:
// polling a 480 x 640 window every millisecond through the socket would cost the
// server (and so the program being timed) more than the measurement is worth.
#pragma once

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>

namespace tickvane::bench {

class WindowCapture {
public:
    explicit WindowCapture(Display* display);
    ~WindowCapture();
    WindowCapture(const WindowCapture&) = delete;
    WindowCapture& operator=(const WindowCapture&) = delete;

    // The window's pixels, valid until the next call; null when it cannot be read.
    XImage* grab(Window window, const XWindowAttributes& at);

private:
    bool shared_image_for(const XWindowAttributes& at);
    void drop_shared_image();

    Display* display_;
    bool shm_usable_;
    XShmSegmentInfo segment_{};
    XImage* shared_ = nullptr;  // attached to `segment_`
    XImage* copied_ = nullptr;  // from plain XGetImage
};

// Set by the probe's X error handler; cleared by whoever checks it.
extern bool g_x_error;

}  // namespace tickvane::bench
