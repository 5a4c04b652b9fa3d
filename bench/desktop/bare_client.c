/* bare_client [WIDTH HEIGHT]
 *
 * The floor under any X11 program's start: opens the display, makes one window named
 * "bare" of the clock's window size, and at its first Expose fills it white and draws one
 * black rectangle, then waits for nothing but events. Plain C on libX11 alone, so that
 * what it loads and asks is the least a window that paints can do. */
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <stdio.h>
#include <stdlib.h>

int main(int argc, char** argv)
{
    unsigned width = argc > 2 ? (unsigned)atoi(argv[1]) : 480, height = argc > 2 ? (unsigned)atoi(argv[2]) : 640;
    if (width == 0 || height == 0 || width > 16384 || height > 16384) {
        fprintf(stderr, "usage: bare_client [WIDTH HEIGHT]\n");
        return 2;
    }
    Display* dpy = XOpenDisplay(NULL);
    if (dpy == NULL) {
        fprintf(stderr, "bare_client: cannot open the display\n");
        return 3;
    }
    int screen = DefaultScreen(dpy);
    Window window = XCreateSimpleWindow(dpy, RootWindow(dpy, screen), 0, 0, width, height, 0, BlackPixel(dpy, screen),
                                        BlackPixel(dpy, screen));
    XStoreName(dpy, window, "bare");
    XSelectInput(dpy, window, ExposureMask);
    GC gc = XCreateGC(dpy, window, 0, NULL);
    XMapWindow(dpy, window);
    for (;;) {
        XEvent event;
        XNextEvent(dpy, &event);
        if (event.type != Expose || event.xexpose.count != 0)
            continue;
        XSetForeground(dpy, gc, WhitePixel(dpy, screen));
        XFillRectangle(dpy, window, gc, 0, 0, width, height);
        XSetForeground(dpy, gc, BlackPixel(dpy, screen));
        XFillRectangle(dpy, window, gc, (int)width / 4, (int)height / 4, width / 2, height / 2);
        XFlush(dpy);
    }
}
