// SDL's events in the device's terms: taps at screen coordinates, Win32 virtual keys.
#pragma once

#include <SDL.h>

#include "display.h"

namespace tickvane::display {

struct WindowGeometry {
    int width = 0;   // the device's screen, in its own pixels
    int height = 0;
    int scale = 1;   // window pixels per screen pixel
};

// The Win32 virtual-key code for `key`, or 0 for keys the device does not know.
int virtual_key_for(SDL_Keycode key);

// False when the event means nothing to the device (right button, bare motion, other keys...).
bool translate_event(const SDL_Event& in, const WindowGeometry& window, Event& out);

}  // namespace tickvane::display
