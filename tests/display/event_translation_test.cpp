#include <X11/keysym.h>
#include <gtest/gtest.h>

#include "x11/event_translation.h"

using namespace tickvane::display;

namespace {

const Atoms kAtoms{101, 102, 103, 104, 105};
const WindowGeometry kWindow{240, 320, 2};

// What the device receives, or "-" when it gets nothing.
std::string shown(bool translated, const Event& e)
{
    if (!translated)
        return "-";
    return std::to_string(static_cast<int>(e.kind)) + " " + std::to_string(e.x) + "," + std::to_string(e.y) + " vk" +
           std::to_string(e.vk) + (e.shift ? " shift" : "") + (e.alt ? " alt" : "");
}
std::string device(EventKind kind, int x = 0, int y = 0, int vk = 0, const char* mods = "")
{
    return shown(true, Event{kind, x, y, vk, std::string(mods).find("shift") != std::string::npos,
                             std::string(mods).find("alt") != std::string::npos});
}

struct Translator {
    InputState input;
    std::string key(KeySym sym, bool pressed, unsigned modifiers = 0)
    {
        Event e;
        return shown(translate_key(sym, pressed, modifiers, input, e), e);
    }
    std::string event(const XEvent& in)
    {
        Event e;
        return shown(translate_event(in, kWindow, kAtoms, input, e), e);
    }
};

XEvent pointer(int type, int x, int y, unsigned detail_or_state)
{
    XEvent e{};
    e.type = type;
    if (type == MotionNotify) {
        e.xmotion.x = x, e.xmotion.y = y, e.xmotion.state = detail_or_state;
    } else {
        e.xbutton.x = x, e.xbutton.y = y, e.xbutton.button = detail_or_state;
    }
    return e;
}

XEvent focus(int type, int mode = NotifyNormal, int detail = NotifyNonlinear)
{
    XEvent e{};
    e.xfocus.type = type, e.xfocus.mode = mode, e.xfocus.detail = detail;
    return e;
}

XEvent client_message(Atom type, long first)
{
    XEvent e{};
    e.xclient.type = ClientMessage, e.xclient.message_type = type, e.xclient.format = 32, e.xclient.data.l[0] = first;
    return e;
}

TEST(KeySymToVirtualKey, CoversTheDeviceKeysAndNothingElse)
{
    std::pair<KeySym, int> table[] = {
        {XK_a, 'A'},         {XK_z, 'Z'},          {XK_B, 'B'},        {XK_0, '0'},
        {XK_9, '9'},         {XK_F1, 0x70},        {XK_F12, 0x7B},     {XK_Return, 0x0D},
        {XK_KP_Enter, 0x0D}, {XK_Escape, 0x1B},    {XK_Tab, 0x09},     {XK_ISO_Left_Tab, 0x09},
        {XK_space, 0x20},    {XK_BackSpace, 0x08}, {XK_Left, 0x25},    {XK_Up, 0x26},
        {XK_Right, 0x27},    {XK_Down, 0x28},      {XK_Home, 0x24},    {XK_End, 0x23},
        {XK_Prior, 0x21},    {XK_Next, 0x22},      {XK_Shift_L, 0},    {XK_Alt_L, 0},
        {XK_F13, 0},         {XK_KP_1, 0},         {XK_odiaeresis, 0}, {XK_bracketleft, 0},
        {NoSymbol, 0},
    };
    for (auto [sym, vk] : table)
        EXPECT_EQ(virtual_key_for(sym), vk) << "keysym 0x" << std::hex << sym;
}

TEST(KeyTranslation, CarriesShiftAndAltAndF5RotatesOncePerPress)
{
    Translator t;
    EXPECT_EQ(t.key(XK_z, true, ShiftMask), device(EventKind::KeyDown, 0, 0, 'Z', "shift"));
    EXPECT_EQ(t.key(XK_9, false, Mod1Mask | ControlMask), device(EventKind::KeyUp, 0, 0, '9', "alt"));
    EXPECT_EQ(t.key(XK_ISO_Left_Tab, true), device(EventKind::KeyDown, 0, 0, 0x09, "shift"));
    EXPECT_EQ(t.key(XK_Shift_L, true), "-");

    EXPECT_EQ(t.key(XK_F5, true), device(EventKind::Rotate));
    EXPECT_EQ(t.key(XK_F5, true), "-") << "a held F5 repeats as presses: the screen turns once";
    EXPECT_EQ(t.key(XK_F5, false), "-");
    EXPECT_EQ(t.key(XK_F5, true), device(EventKind::Rotate));
    t.event(focus(FocusOut, NotifyGrab));  // even a grab takes the keyboard, and F5's release with it
    EXPECT_EQ(t.key(XK_F5, true), device(EventKind::Rotate));
}

TEST(EventTranslation, LeftButtonTapsAtScreenCoordinatesFocusOnceAndClose)
{
    Translator t;
    EXPECT_EQ(t.event(pointer(ButtonPress, 101, 51, Button1)), device(EventKind::PointerDown, 50, 25));
    EXPECT_EQ(t.event(pointer(ButtonRelease, 5000, -7, Button1)), device(EventKind::PointerUp, 239, 0));
    EXPECT_EQ(t.event(pointer(ButtonPress, 10, 10, Button3)), "-");
    EXPECT_EQ(t.event(pointer(MotionNotify, 479, 639, 0)), "-") << "hovering is not touching";
    EXPECT_EQ(t.event(pointer(MotionNotify, 479, 639, Button1Mask)), device(EventKind::PointerMove, 239, 319));

    EXPECT_EQ(t.event(focus(FocusIn)), device(EventKind::FocusGained));
    EXPECT_EQ(t.event(focus(FocusIn)), "-") << "already focused";
    EXPECT_EQ(t.event(focus(FocusOut, NotifyGrab)), "-") << "a shortcut's grab is not switching away";
    EXPECT_EQ(t.event(focus(FocusOut, NotifyNormal, NotifyPointer)), "-");
    EXPECT_EQ(t.event(focus(FocusOut)), device(EventKind::FocusLost));

    EXPECT_EQ(t.event(client_message(kAtoms.wm_protocols, static_cast<long>(kAtoms.wm_delete_window))),
              device(EventKind::Close));
    EXPECT_EQ(t.event(client_message(kAtoms.wm_protocols, 999)), "-");
    EXPECT_EQ(t.event(client_message(kAtoms.net_active_window, static_cast<long>(kAtoms.wm_delete_window))), "-");
    XEvent exposed{};
    exposed.type = Expose;
    EXPECT_EQ(t.event(exposed), "-");
}

}  // namespace
