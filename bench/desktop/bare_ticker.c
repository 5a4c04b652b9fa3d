/* bare_ticker [WIDTH HEIGHT]
 *
 * The floor under any X11 clock's steady cost: one window named "bare ticker" of the
 * clock's window size, a 300 ms poll on its connection, and once a second one 48x22
 * XPutImage of new 32-bit pixels at a fixed place, which is what the clock's display sends
 * when its digits change. Plain C on libX11 alone, so that what it costs between frames is
 * the least a window that ticks can do. */
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <poll.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>

enum { TICK_WIDTH = 48, TICK_HEIGHT = 22, PERIOD_MS = 300 };

int main(int argc, char** argv)
{
    unsigned width = argc > 2 ? (unsigned)atoi(argv[1]) : 480, height = argc > 2 ? (unsigned)atoi(argv[2]) : 640;
    if (argc == 2 || argc > 3 || width == 0 || height == 0 || width > 16384 || height > 16384) {
        fprintf(stderr, "usage: bare_ticker [WIDTH HEIGHT]\n");
        return 2;
    }
    Display* dpy = XOpenDisplay(NULL);
    if (dpy == NULL) {
        fprintf(stderr, "bare_ticker: cannot open the display\n");
        return 3;
    }
    int screen = DefaultScreen(dpy);
    Window window = XCreateSimpleWindow(dpy, RootWindow(dpy, screen), 0, 0, width, height, 0, BlackPixel(dpy, screen),
                                        WhitePixel(dpy, screen));
    XStoreName(dpy, window, "bare ticker");
    XSelectInput(dpy, window, ExposureMask);
    GC gc = XCreateGC(dpy, window, 0, NULL);
    XMapWindow(dpy, window);

    /* One buffer for the whole run, as the clock keeps its own: a tick touches only it. */
    uint32_t* pixels = malloc(TICK_WIDTH * TICK_HEIGHT * sizeof *pixels);
    XImage* image = pixels == NULL ? NULL
                                   : XCreateImage(dpy, DefaultVisual(dpy, screen), (unsigned)DefaultDepth(dpy, screen),
                                                  ZPixmap, 0, (char*)pixels, TICK_WIDTH, TICK_HEIGHT, 32, 0);
    if (image == NULL) {
        fprintf(stderr, "bare_ticker: cannot make the %dx%d image\n", TICK_WIDTH, TICK_HEIGHT);
        return 1;
    }
    /* Where the clock's digits sit roughly: inside the window, clipped by the server if not. */
    int x = width > TICK_WIDTH ? (int)(width - TICK_WIDTH) / 2 : 0, y = height > TICK_HEIGHT ? (int)height / 4 : 0;

    time_t shown = 0;
    for (;;) {
        struct pollfd connection = {ConnectionNumber(dpy), POLLIN, 0};
        poll(&connection, 1, PERIOD_MS);
        while (XPending(dpy)) {
            XEvent event;
            XNextEvent(dpy, &event);
        }
        time_t now = time(NULL);
        if (now == shown)
            continue;
        shown = now;
        /* New values every second, so that nothing on the way can skip an unchanged picture. */
        for (unsigned i = 0; i < TICK_WIDTH * TICK_HEIGHT; ++i)
            pixels[i] = ((uint32_t)now * 2654435761u + i * 40503u) & 0xffffffu;
        XPutImage(dpy, window, gc, image, 0, 0, x, y, TICK_WIDTH, TICK_HEIGHT);
        XFlush(dpy);
    }
}
