// The screen in memory only: the device keeps the pixels, so this backend keeps nothing but
// the PNG target and whether its last write failed.

#include "display.h"
#include "fd_waiter.h"
#include "png_writer.h"
#include "warn_once.h"

namespace tickvane::display {
namespace {

class HeadlessDisplay final : public Display {
public:
    explicit HeadlessDisplay(std::string png_path) : png_path_(std::move(png_path)) {}

    const char* name() const override { return "headless"; }

    void present(const Pixels& screen, const std::vector<Rect>& changed) override
    {
        if (png_path_.empty() || changed.empty())
            return;
        std::string why;
        if (write_png_atomically(screen, png_path_, &why)) {
            failing_ = false;
            return;
        }
        // A full disk or a vanished folder would repeat every frame: say it once per run of failures.
        if (!failing_)
            warn_once("tickvane: screenshot not written: %s", why.c_str());
        failing_ = true;
    }

    void resize(int, int) override {}  // the next present carries the new size

    WaitEnd wait(int timeout_ms, const std::vector<int>& fds) override
    {
        switch (waiter_.wait(fds, -1, timeout_ms)) {
        case FdWaitResult::TimedOut:
            return WaitEnd::TimedOut;
        case FdWaitResult::Interrupted:
            return WaitEnd::Interrupted;
        default:
            return WaitEnd::Descriptor;
        }
    }

    bool poll(Event&) override { return false; }  // input reaches a headless device directly
    void raise() override {}

private:
    std::string png_path_;
    bool failing_ = false;
    FdWaiter waiter_;
};

}  // namespace

std::unique_ptr<Display> open_headless(int, int, const std::string& png_path)
{
    return std::make_unique<HeadlessDisplay>(png_path);
}

}  // namespace tickvane::display
