// Starting SDL's video subsystem the way the desktop window needs it.
#pragma once

#include <SDL.h>

#include <string>

namespace tickvane::display {

// Starts only the video subsystem, on x11 or wayland. False, with the reason, when no
// real display is reachable (SDL would otherwise fall back to an invisible driver).
bool start_sdl_video(std::string& why_not);
void stop_sdl_video();

// The X server connection's descriptor, or -1 when the window is not on X11.
int x11_connection_fd(SDL_Window* window);

}  // namespace tickvane::display
