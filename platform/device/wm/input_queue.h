// Input from the display not yet turned into messages, and what the last of it left
// pressed: the window under a press, the modifier keys.
#pragma once

#include <deque>

#include "display/display.h"
#include "win32.h"

namespace tickvane::device {

// What the shell's input filter did with a tap or a key: left it to the windows, took
// it, or took it and made a message for a window in `out`.
enum class Filtered { Pass, Taken, Message };
using InputFilter = Filtered (*)(const display::Event& e, MSG& out);

struct InputQueue {
    std::deque<display::Event> events;
    InputFilter filter = nullptr;  // sees taps and keys before the windows do
    HWND pointer_window = nullptr;
    bool shift_down = false;  // modifier state of the last key event, for GetKeyState
    bool alt_down = false;
};

InputQueue& input_queue();

}  // namespace tickvane::device
