#include "window_image.h"

#include <sys/ipc.h>
#include <sys/mman.h>
#include <sys/shm.h>

#include <bit>

#include "error_trap.h"

namespace tickvane::display {
namespace {

constexpr int kHostByteOrder = std::endian::native == std::endian::little ? LSBFirst : MSBFirst;

// The XImage must not free pixels it does not own.
void destroy_header(XImage* image)
{
    image->data = nullptr;
    XDestroyImage(image);
}

}  // namespace

WindowImage::WindowImage(::Display* dpy, const XVisualInfo& visual)
    : dpy_(dpy), visual_(visual), shm_usable_(XShmQueryExtension(dpy) == True)
{}

bool WindowImage::allocate(int width, int height, std::string& why_not)
{
    release();
    if (!create_shared(width, height))
        create_plain(width, height);
    if (image_ == nullptr) {
        why_not = "cannot create a " + std::to_string(width) + "x" + std::to_string(height) + " image";
        return false;
    }
    bool swapped = image_->byte_order != kHostByteOrder;
    if (image_->bits_per_pixel != 32 ||
        !layout_for(visual_.red_mask, visual_.green_mask, visual_.blue_mask, visual_.depth, swapped, layout_)) {
        why_not = "the X server keeps " + std::to_string(visual_.depth) + "-bit pixels in " +
                  std::to_string(image_->bits_per_pixel) + " bits, not 32";
        release();
        return false;
    }
    return true;
}

bool WindowImage::create_shared(int width, int height)
{
    if (!shm_usable_)
        return false;
    XImage* image = XShmCreateImage(dpy_, visual_.visual, static_cast<unsigned>(visual_.depth), ZPixmap, nullptr,
                                    &segment_, static_cast<unsigned>(width), static_cast<unsigned>(height));
    if (image == nullptr)
        return false;
    size_t bytes = static_cast<size_t>(image->bytes_per_line) * static_cast<size_t>(height);
    segment_.shmid = shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
    void* address = segment_.shmid < 0 ? reinterpret_cast<void*>(-1) : shmat(segment_.shmid, nullptr, 0);
    bool attached = false;
    if (address != reinterpret_cast<void*>(-1)) {
        // The first frame writes every page of it: mapped in one call, not one fault a page.
        // An older kernel refuses the advice, and the pages then come one fault at a time.
        madvise(address, bytes, MADV_POPULATE_WRITE);
        segment_.shmaddr = image->data = static_cast<char*>(address);
        segment_.readOnly = True;  // the server only reads from it
        // A server on another machine (or in another IPC namespace) cannot see the segment.
        XErrorTrap trap(dpy_);
        attached = XShmAttach(dpy_, &segment_) != 0 && !trap.caught();
    }
    // Removed once both sides have detached, even if this process dies first.
    if (segment_.shmid >= 0)
        shmctl(segment_.shmid, IPC_RMID, nullptr);
    if (!attached) {
        if (address != reinterpret_cast<void*>(-1))
            shmdt(address);
        destroy_header(image);
        shm_usable_ = false;  // it would fail the same way after a resize
        return false;
    }
    image_ = image;
    shared_ = true;
    return true;
}

void WindowImage::create_plain(int width, int height)
{
    image_ = XCreateImage(dpy_, visual_.visual, static_cast<unsigned>(visual_.depth), ZPixmap, 0, nullptr,
                          static_cast<unsigned>(width), static_cast<unsigned>(height), 32, 0);
    if (image_ == nullptr)
        return;
    // Written in our byte order; Xlib converts while sending if the server's differs.
    image_->byte_order = kHostByteOrder;
    plain_pixels_ = std::make_unique<char[]>(static_cast<size_t>(image_->bytes_per_line) * static_cast<size_t>(height));
    image_->data = plain_pixels_.get();
    shared_ = false;
}

void WindowImage::release()
{
    if (image_ == nullptr)
        return;
    if (shared_) {
        XShmDetach(dpy_, &segment_);
        shmdt(segment_.shmaddr);
        segment_ = XShmSegmentInfo{};
        awaiting_server_ = false;
    }
    destroy_header(image_);
    image_ = nullptr;
    shared_ = false;
    plain_pixels_.reset();
}

ImageBuffer WindowImage::buffer() const
{
    if (image_ == nullptr)
        return ImageBuffer{};
    return ImageBuffer{reinterpret_cast<uint8_t*>(image_->data), image_->width, image_->height, image_->bytes_per_line};
}

void WindowImage::put(Window window, GC gc, int x, int y, int w, int h)
{
    if (image_ == nullptr)
        return;
    auto uw = static_cast<unsigned>(w), uh = static_cast<unsigned>(h);
    // Up to this much, copying the pixels into the request costs less than the round trip
    // that shared memory needs before it may be written again.
    constexpr size_t kSentInRequest = 256 * 1024;
    if (shared_ && static_cast<size_t>(w) * static_cast<size_t>(h) * 4 > kSentInRequest) {
        XShmPutImage(dpy_, window, gc, image_, x, y, x, y, uw, uh, False);
        awaiting_server_ = true;
    } else {
        XPutImage(dpy_, window, gc, image_, x, y, x, y, uw, uh);
    }
}

void WindowImage::finish_puts()
{
    if (awaiting_server_) {
        XSync(dpy_, False);
        awaiting_server_ = false;
    } else {
        XFlush(dpy_);
    }
}

}  // namespace tickvane::display
