// The desktop window as window managers see it: title, class, fixed size, close button.
#pragma once

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "atoms.h"
#include "window_place.h"

namespace tickvane::display {

// Unmapped, with every property a window manager reads already set. `colormap` must
// belong to the visual. With a `place`, the window manager is asked to put its frame
// there, as a person placed it before.
Window create_top_level_window(::Display* dpy, const XVisualInfo& visual, Colormap colormap, int width, int height,
                               const Atoms& atoms, const std::optional<WindowPlace>& place);

// What a taskbar and a session show for it: this process, this machine, and `icon`
// (_NET_WM_ICON cardinals: width, height, ARGB pixels, repeated; none when empty).
void describe_to_desktop(::Display* dpy, Window window, const Atoms& atoms, const std::vector<uint32_t>& icon);

// Where the window and its frame (the window manager's, or the window itself) are on the
// root, and whether it is shown or minimised. Nothing when the server cannot tell.
std::optional<FrameFacts> frame_facts(::Display* dpy, Window window, const Atoms& atoms);

// Resizes the window and tells the window manager the person cannot change that size.
void set_fixed_size(::Display* dpy, Window window, int width, int height);

// Maps it again if it was iconified, puts it on top and asks the window manager (listening
// on `root`) to activate it.
void bring_forward(::Display* dpy, Window window, Window root, const Atoms& atoms);

}  // namespace tickvane::display
