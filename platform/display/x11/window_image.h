// The window's contents at window size: in memory shared with the X server (MIT-SHM) when
// the server can attach it, else in our own memory, sent over the connection.
#pragma once

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>

#include <memory>
#include <string>

#include "scaled_blit.h"

namespace tickvane::display {

class WindowImage {
public:
    WindowImage(::Display* dpy, const XVisualInfo& visual);
    ~WindowImage() { release(); }
    WindowImage(const WindowImage&) = delete;
    WindowImage& operator=(const WindowImage&) = delete;

    // (Re)creates the image at this size. False with the reason when the server's pixel
    // format is not 4 bytes per pixel; there is no image then.
    bool allocate(int width, int height, std::string& why_not);
    void release();

    bool ready() const { return image_ != nullptr; }
    bool shared() const { return shared_; }
    ImageBuffer buffer() const;
    const PixelLayout& layout() const { return layout_; }

    // Sends the area (window coordinates) to `window`; call finish_puts() after the last one.
    // A small area travels in the request itself: the server then need not be waited for.
    void put(Window window, GC gc, int x, int y, int w, int h);
    // Sends the puts. Where the server reads shared memory, returns only once it has drawn
    // them, as that memory may only be written again after that.
    void finish_puts();

private:
    bool create_shared(int width, int height);
    void create_plain(int width, int height);

    ::Display* dpy_;
    XVisualInfo visual_;
    bool shm_usable_;  // the extension is there and attaching has not failed yet
    XImage* image_ = nullptr;
    bool shared_ = false;
    bool awaiting_server_ = false;  // a put from shared memory not yet known to be drawn
    XShmSegmentInfo segment_{};
    std::unique_ptr<char[]> plain_pixels_;
    PixelLayout layout_;
};

}  // namespace tickvane::display
