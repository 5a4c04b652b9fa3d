// Looks at an X server from outside: is there a mapped top-level window with a given
// WM_NAME, and has anything been drawn in it yet? Xlib stays in the .cpp.
#pragma once

#include <memory>
#include <string>

namespace tickvane::bench {

class WindowCapture;

enum class WindowState { Missing, Unpainted, Painted };

class WindowProbe {
public:
    // Connects to $DISPLAY; null with `why_not` set when that fails.
    static std::unique_ptr<WindowProbe> connect(std::string* why_not);
    ~WindowProbe();
    WindowProbe(const WindowProbe&) = delete;
    WindowProbe& operator=(const WindowProbe&) = delete;

    // A window counts as painted once its contents show more than one colour: an
    // undrawn window shows only its background (start the server with -br so that a
    // window without a background shows the root's plain black, not its weave).
    WindowState look(const std::string& title);

private:
    explicit WindowProbe(void* display);
    void* display_;
    std::unique_ptr<WindowCapture> capture_;
};

}  // namespace tickvane::bench
