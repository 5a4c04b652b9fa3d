#include "window_capture.h"

#include <sys/ipc.h>
#include <sys/shm.h>

namespace tickvane::bench {

bool g_x_error = false;

WindowCapture::WindowCapture(Display* display) : display_(display), shm_usable_(XShmQueryExtension(display)) {}

WindowCapture::~WindowCapture()
{
    drop_shared_image();
    if (copied_ != nullptr)
        XDestroyImage(copied_);
}

void WindowCapture::drop_shared_image()
{
    if (shared_ == nullptr)
        return;
    XShmDetach(display_, &segment_);
    XSync(display_, False);
    shmdt(segment_.shmaddr);
    shared_->data = nullptr;
    XDestroyImage(shared_);
    shared_ = nullptr;
}

// An image of the window's size and depth in a segment the server has attached.
bool WindowCapture::shared_image_for(const XWindowAttributes& at)
{
    if (shared_ != nullptr && shared_->width == at.width && shared_->height == at.height && shared_->depth == at.depth)
        return true;
    drop_shared_image();
    shared_ = XShmCreateImage(display_, at.visual, static_cast<unsigned>(at.depth), ZPixmap, nullptr, &segment_,
                              static_cast<unsigned>(at.width), static_cast<unsigned>(at.height));
    if (shared_ == nullptr)
        return false;
    segment_.shmid = shmget(IPC_PRIVATE, static_cast<size_t>(shared_->bytes_per_line) * static_cast<size_t>(at.height),
                            IPC_CREAT | 0600);
    void* memory = segment_.shmid >= 0 ? shmat(segment_.shmid, nullptr, 0) : reinterpret_cast<void*>(-1);
    if (segment_.shmid >= 0)
        shmctl(segment_.shmid, IPC_RMID, nullptr);  // freed once both sides detach, even on a crash
    if (memory == reinterpret_cast<void*>(-1)) {
        XDestroyImage(shared_);
        shared_ = nullptr;
        return false;
    }
    segment_.shmaddr = shared_->data = static_cast<char*>(memory);
    segment_.readOnly = False;
    g_x_error = false;
    XShmAttach(display_, &segment_);
    XSync(display_, False);
    if (g_x_error) {  // e.g. a server on another machine
        shmdt(memory);
        shared_->data = nullptr;
        XDestroyImage(shared_);
        shared_ = nullptr;
        return false;
    }
    return true;
}

XImage* WindowCapture::grab(Window window, const XWindowAttributes& at)
{
    if (shm_usable_ && shared_image_for(at)) {
        g_x_error = false;
        if (XShmGetImage(display_, window, shared_, 0, 0, AllPlanes) && !g_x_error)
            return shared_;
        return nullptr;
    }
    shm_usable_ = false;
    if (copied_ != nullptr)
        XDestroyImage(copied_);
    copied_ = XGetImage(display_, window, 0, 0, static_cast<unsigned>(at.width), static_cast<unsigned>(at.height),
                        AllPlanes, ZPixmap);
    return copied_;
}

}  // namespace tickvane::bench
