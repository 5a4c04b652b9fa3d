// The window's pixels go to the X server a band of rows at a time, scaled into one small
// buffer and sent in the request itself. No window-size image is kept: the device already
// holds its screen, and a 1.2 MB image (shared with the server or not) cost the first frame
// about 300 fresh pages on each side of the connection.
#pragma once

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <memory>
#include <string>

#include "scaled_blit.h"

namespace tickvane::display {

class ImageBand {
public:
    ImageBand(::Display* dpy, const XVisualInfo& visual) : dpy_(dpy), visual_(visual) {}

    // False with the reason when the server keeps this visual's pixels in other than 32
    // bits, or its colours are not whole bytes: nothing could be sent then.
    bool start(std::string& why_not);

    // Sends `area` of `screen` (screen coordinates, inside the screen) to `window` at
    // area * scale. Call finish() after the last area of a frame.
    void send(Window window, GC gc, const Pixels& screen, const Rect& area, int scale);
    void finish() { XFlush(dpy_); }

    const PixelLayout& layout() const { return layout_; }

private:
    ::Display* dpy_;
    XVisualInfo visual_;
    XImage format_{};  // the server's pixel format; its size and data are set per band
    PixelLayout layout_;
    std::unique_ptr<uint8_t[]> pixels_;  // made at the first send, grown for a wider band
    size_t capacity_ = 0;
};

}  // namespace tickvane::display
