// Which window is active, which has the keys, and which holds the pointer.
#pragma once

#include "win32.h"

namespace tickvane::device {

struct Activation {
    HWND active = nullptr;
    HWND focus = nullptr;        // the window that receives keys: the active window or one of its children
    HWND capture = nullptr;      // receives pointer input wherever it happens
    HWND last_active = nullptr;  // to give activation back when the desktop window regains focus
};

Activation& activation();

}  // namespace tickvane::device
