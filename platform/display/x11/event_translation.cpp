#include "event_translation.h"

#include <X11/keysym.h>

#include <algorithm>

namespace tickvane::display {
namespace {

constexpr int kVkBack = 0x08, kVkTab = 0x09, kVkReturn = 0x0D, kVkEscape = 0x1B, kVkSpace = 0x20;
constexpr int kVkPrior = 0x21, kVkNext = 0x22, kVkEnd = 0x23, kVkHome = 0x24;
constexpr int kVkLeft = 0x25, kVkUp = 0x26, kVkRight = 0x27, kVkDown = 0x28, kVkF1 = 0x70;

// The person's shortcut for turning the handheld; the device never sees it as a key.
constexpr KeySym kRotateKey = XK_F5;

int offset(KeySym key, KeySym first) { return static_cast<int>(key - first); }

bool simple(EventKind kind, Event& out)
{
    out = Event{};
    out.kind = kind;
    return true;
}

bool pointer_event(EventKind kind, int window_x, int window_y, const WindowGeometry& window, Event& out)
{
    int scale = std::max(window.scale, 1);
    simple(kind, out);
    // A drag keeps reporting positions outside the window: keep them on the screen.
    out.x = std::clamp(window_x / scale, 0, std::max(window.width - 1, 0));
    out.y = std::clamp(window_y / scale, 0, std::max(window.height - 1, 0));
    return true;
}

bool focus_event(const XFocusChangeEvent& focus, InputState& input, Event& out)
{
    bool gained = focus.type == FocusIn;
    if (!gained)
        input.rotate_key_held = false;  // F5's release will go to another window
    // A grab (a global shortcut, the window manager's switcher) is not the person switching away;
    // pointer-root focus says nothing about where keys go.
    if (focus.mode == NotifyGrab || focus.mode == NotifyUngrab)
        return false;
    if (focus.detail == NotifyInferior || focus.detail == NotifyPointer)
        return false;
    if (gained == input.focused)
        return false;
    input.focused = gained;
    return simple(gained ? EventKind::FocusGained : EventKind::FocusLost, out);
}

bool is_close_request(const XClientMessageEvent& message, const Atoms& atoms)
{
    return message.message_type == atoms.wm_protocols && message.format == 32 &&
           static_cast<Atom>(message.data.l[0]) == atoms.wm_delete_window;
}

}  // namespace

int virtual_key_for(KeySym key)
{
    if (key >= XK_a && key <= XK_z)
        return 'A' + offset(key, XK_a);
    if (key >= XK_A && key <= XK_Z)
        return 'A' + offset(key, XK_A);
    if (key >= XK_0 && key <= XK_9)
        return '0' + offset(key, XK_0);
    if (key >= XK_F1 && key <= XK_F12)
        return kVkF1 + offset(key, XK_F1);
    switch (key) {
    case XK_Return:
    case XK_KP_Enter:
        return kVkReturn;
    case XK_Escape:
        return kVkEscape;
    case XK_Tab:
    case XK_ISO_Left_Tab:
        return kVkTab;
    case XK_space:
        return kVkSpace;
    case XK_BackSpace:
        return kVkBack;
    case XK_Up:
        return kVkUp;
    case XK_Down:
        return kVkDown;
    case XK_Left:
        return kVkLeft;
    case XK_Right:
        return kVkRight;
    case XK_Home:
        return kVkHome;
    case XK_End:
        return kVkEnd;
    case XK_Prior:
        return kVkPrior;
    case XK_Next:
        return kVkNext;
    default:
        return 0;
    }
}

bool translate_key(KeySym keysym, bool pressed, unsigned int modifiers, InputState& input, Event& out)
{
    if (keysym == kRotateKey) {
        bool first_press = pressed && !input.rotate_key_held;
        input.rotate_key_held = pressed;
        return first_press && simple(EventKind::Rotate, out);
    }
    int vk = virtual_key_for(keysym);
    if (vk == 0)
        return false;
    simple(pressed ? EventKind::KeyDown : EventKind::KeyUp, out);
    out.vk = vk;
    out.shift = (modifiers & ShiftMask) != 0 || keysym == XK_ISO_Left_Tab;  // that keysym is Shift+Tab itself
    out.alt = (modifiers & Mod1Mask) != 0;
    return true;
}

bool translate_event(const XEvent& in, const WindowGeometry& window, const Atoms& atoms, InputState& input, Event& out)
{
    switch (in.type) {
    case ButtonPress:
    case ButtonRelease:
        if (in.xbutton.button != Button1)
            return false;
        return pointer_event(in.type == ButtonPress ? EventKind::PointerDown : EventKind::PointerUp, in.xbutton.x,
                             in.xbutton.y, window, out);
    case MotionNotify:
        if ((in.xmotion.state & Button1Mask) == 0)
            return false;  // hovering is not touching
        return pointer_event(EventKind::PointerMove, in.xmotion.x, in.xmotion.y, window, out);
    case KeyPress:
    case KeyRelease: {
        // Index 0: the key itself, whatever Shift does to it (Shift+b is still the B key).
        KeySym keysym = XLookupKeysym(const_cast<XKeyEvent*>(&in.xkey), 0);
        return translate_key(keysym, in.type == KeyPress, in.xkey.state, input, out);
    }
    case FocusIn:
    case FocusOut:
        return focus_event(in.xfocus, input, out);
    case ClientMessage:
        return is_close_request(in.xclient, atoms) && simple(EventKind::Close, out);
    default:
        return false;
    }
}

}  // namespace tickvane::display
