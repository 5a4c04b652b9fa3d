// A press on the soft-key bar, from the pointer going down on it to its release.
#pragma once

#include "win32.h"

namespace tickvane::device {

struct SoftKeyPress {
    bool tracking = false;  // the pointer went down on the bar and is not up yet
    int key = -1;           // the enabled key it went down on, or -1
    HWND owner = nullptr;   // whose bar it was
    bool over = false;      // the pointer is over that key now
    int drawn = -1;         // the key last drawn pressed
};

SoftKeyPress& soft_key_press_state();
// Lets go of the key held down without a command (its bar went away); the rest of
// the press still belongs to the bar.
void cancel_soft_key_press();

}  // namespace tickvane::device
