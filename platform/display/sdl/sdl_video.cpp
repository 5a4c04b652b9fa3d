#include "sdl_video.h"

#include <SDL_syswm.h>

#include <cstdlib>
#include <cstring>

namespace tickvane::display {
namespace {

void set_hints() {
    // X11 first, also under Wayland (XWayland): only there can wait() sleep on the connection
    // itself, and SDL's Wayland driver has no window surface without OpenGL.
    // Wayland only where a compositor is announced: probing it elsewhere just prints noise.
    const char* wayland = SDL_getenv("WAYLAND_DISPLAY");
    SDL_SetHint(SDL_HINT_VIDEODRIVER, wayland != nullptr && *wayland != '\0' ? "x11,wayland" : "x11");
    // Without this SDL draws the window surface through software OpenGL: +90 MB, +75 ms, 5x the CPU.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    // The click that focuses the window is a tap on the handheld; SDL would drop it.
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    // SIGINT and SIGTERM belong to the device, not to a display library.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // The close button already arrives as a window event; a second SDL_QUIT would close twice.
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    // A clock on the desktop must not keep the monitor awake (and inhibiting costs a D-Bus link).
    SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
}

bool is_set(const char* variable) {
    const char* value = std::getenv(variable);
    return value != nullptr && *value != '\0';
}

std::string unreachable(const std::string& detail) { return "no display reachable (" + detail + ")"; }

}  // namespace

bool start_sdl_video(std::string& why_not) {
    if (!is_set("DISPLAY") && !is_set("WAYLAND_DISPLAY")) {
        why_not = unreachable("DISPLAY is not set");
        return false;
    }
    set_hints();
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        why_not = unreachable(std::string("SDL: ") + SDL_GetError());
        return false;
    }
    const char* driver = SDL_GetCurrentVideoDriver();
    if (driver == nullptr || (std::strcmp(driver, "x11") != 0 && std::strcmp(driver, "wayland") != 0)) {
        why_not = unreachable(std::string("SDL chose the invisible video driver '") + (driver ? driver : "?") + "'");
        stop_sdl_video();
        return false;
    }
    return true;
}

void stop_sdl_video() {
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    // The last user also releases what SDL keeps for the whole process (its D-Bus link).
    if (SDL_WasInit(SDL_INIT_EVERYTHING) == 0) SDL_Quit();
}

int x11_connection_fd(SDL_Window* window) {
#if defined(SDL_VIDEO_DRIVER_X11)
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWindowWMInfo(window, &info) == SDL_TRUE && info.subsystem == SDL_SYSWM_X11) {
        return ConnectionNumber(info.info.x11.display);
    }
#else
    (void)window;
#endif
    return -1;
}

}  // namespace tickvane::display
