// Finding the clock's window and giving it input, against windows this test makes on a
// private Xvfb: what arrives must be what the clock reads as a tap or a key.
// gtest before Xlib, whose macros (None, Bool) would break gtest's names.
#include <gtest/gtest.h>
// clang-format off
#include <X11/Xlib.h>
#include <X11/keysym.h>
// clang-format on

#include <memory>
#include <vector>

#include "private_x_server.h"
#include "x_window.h"

using namespace tickvane::bench;
using tickvane::display::testing::X11Session;

namespace {

class XWindowOnX : public tickvane::bench::OnPrivateXServer {
protected:
    Window make_window(const char* title, bool mapped)
    {
        Window w = XCreateSimpleWindow(display_, DefaultRootWindow(display_), 0, 0, 480, 640, 0, 0, 0);
        XStoreName(display_, w, title);
        XSelectInput(display_, w, ButtonPressMask | ButtonReleaseMask | KeyPressMask | KeyReleaseMask);
        if (mapped)
            XMapWindow(display_, w);
        XSync(display_, False);
        return w;
    }

    // What reached `w` so far, in order.
    std::vector<XEvent> events_for(Window w)
    {
        XSync(display_, False);
        std::vector<XEvent> got;
        XEvent e;
        while (XCheckWindowEvent(display_, w, ~0L, &e))
            got.push_back(e);
        return got;
    }
};

TEST_F(XWindowOnX, FindsOnlyTheMappedWindowWithTheExactTitle)
{
    EXPECT_EQ(find_window(display_, "Tickvane"), 0u);
    make_window("Tickvane", false);
    make_window("Tickvane2", true);
    make_window("tickvane", true);
    EXPECT_EQ(find_window(display_, "Tickvane"), 0u) << "unmapped, or another name";
    Window clock = make_window("Tickvane", true);
    EXPECT_EQ(find_window(display_, "Tickvane"), clock);
}

TEST_F(XWindowOnX, TapAndKeyArriveAsPressThenReleaseWhereAimed)
{
    Window clock = make_window("Tickvane", true);
    Display* other = XOpenDisplay(session_->name().c_str());  // the benchmark's own connection
    ASSERT_NE(other, nullptr);
    send_tap(other, clock, 121, 615);
    ASSERT_TRUE(send_key(other, clock, XK_Escape));
    XCloseDisplay(other);

    std::vector<XEvent> got = events_for(clock);
    ASSERT_EQ(got.size(), 4u);
    EXPECT_EQ(got[0].type, ButtonPress);
    EXPECT_EQ(got[1].type, ButtonRelease);
    for (int i : {0, 1}) {
        EXPECT_EQ(got[i].xbutton.button, static_cast<unsigned>(Button1));
        EXPECT_EQ(got[i].xbutton.x, 121);
        EXPECT_EQ(got[i].xbutton.y, 615);
    }
    EXPECT_EQ(got[2].type, KeyPress);
    EXPECT_EQ(got[3].type, KeyRelease);
    for (int i : {2, 3})
        EXPECT_EQ(XLookupKeysym(&got[i].xkey, 0), static_cast<KeySym>(XK_Escape));
}

}  // namespace
