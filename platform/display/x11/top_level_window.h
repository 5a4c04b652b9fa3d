// The desktop window as window managers see it: title, class, fixed size, close button.
#pragma once

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include "atoms.h"

namespace tickvane::display {

// Unmapped, with every property a window manager reads already set. `colormap` must
// belong to the visual.
Window create_top_level_window(::Display* dpy, const XVisualInfo& visual, Colormap colormap, int width, int height,
                               const Atoms& atoms);

// Resizes the window and tells the window manager the person cannot change that size.
void set_fixed_size(::Display* dpy, Window window, int width, int height);

// Maps it again if it was iconified, puts it on top and asks the window manager (listening
// on `root`) to activate it.
void bring_forward(::Display* dpy, Window window, Window root, const Atoms& atoms);

}  // namespace tickvane::display
