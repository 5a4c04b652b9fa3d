// Input from the display not yet turned into messages, and what the last of it left
// pressed: the window under a press, the modifier keys.
#pragma once

#include <deque>

#include "display/display.h"
#include "win32.h"

namespace tickvane::device {

struct InputQueue {
    std::deque<display::Event> events;
    HWND pointer_window = nullptr;
    bool shift_down = false;  // modifier state of the last key event, for GetKeyState
    bool alt_down = false;
};

InputQueue& input_queue();

}  // namespace tickvane::device
