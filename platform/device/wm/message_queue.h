// The thread's message queue: posted messages, the quit request, and the timers.
#pragma once

#include <cstdint>
#include <deque>
#include <vector>

#include "win32.h"

namespace tickvane::device {

struct Timer {
    HWND hwnd = nullptr;
    UINT_PTR id = 0;
    UINT interval = 0;
    uint64_t due = 0;
    TIMERPROC proc = nullptr;
};

struct MessageQueue {
    std::deque<MSG> posted;
    bool quit_requested = false;
    int quit_code = 0;
    bool closing_all = false;  // the desktop window's close button: windows close one by one from the top
    std::vector<Timer> timers;
    void (*present)() = nullptr;  // brings the screen up to date before the loop waits
};

MessageQueue& message_queue();

}  // namespace tickvane::device
