// X events in the device's terms: taps at screen coordinates, Win32 virtual keys.
#pragma once

#include <X11/Xlib.h>

#include "atoms.h"
#include "display.h"

namespace tickvane::display {

struct WindowGeometry {
    int width = 0;  // the device's screen, in its own pixels
    int height = 0;
    int scale = 1;  // window pixels per screen pixel
};

// What translating remembers from one event to the next.
struct InputState {
    bool rotate_key_held = false;  // so that F5's auto-repeat turns the screen only once
    bool focused = false;          // so that a focus change is reported once
};

// The Win32 virtual-key code for `keysym`, or 0 for keys the device does not know.
int virtual_key_for(KeySym keysym);

// A key that X has already looked up; `modifiers` is the event's state (ShiftMask, Mod1Mask...).
bool translate_key(KeySym keysym, bool pressed, unsigned int modifiers, InputState& input, Event& out);

// False when the event means nothing to the device (right button, bare motion, other keys...).
// Key events must come from the server: their keysym is looked up on the event's display.
bool translate_event(const XEvent& in, const WindowGeometry& window, const Atoms& atoms, InputState& input, Event& out);

}  // namespace tickvane::display
