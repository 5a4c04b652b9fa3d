#include "event_translation.h"

#include <algorithm>

namespace tickvane::display {
namespace {

constexpr int kVkBack = 0x08, kVkTab = 0x09, kVkReturn = 0x0D, kVkEscape = 0x1B, kVkSpace = 0x20;
constexpr int kVkLeft = 0x25, kVkUp = 0x26, kVkRight = 0x27, kVkDown = 0x28, kVkF1 = 0x70;

// The person's shortcut for turning the handheld; the device never sees it as a key.
constexpr SDL_Keycode kRotateKey = SDLK_F5;

bool pointer_event(EventKind kind, int window_x, int window_y, const WindowGeometry& window, Event& out) {
    int scale = std::max(window.scale, 1);
    out = Event{};
    out.kind = kind;
    // Captured drags report positions outside the window: keep them on the screen.
    out.x = std::clamp(window_x / scale, 0, std::max(window.width - 1, 0));
    out.y = std::clamp(window_y / scale, 0, std::max(window.height - 1, 0));
    return true;
}

bool key_event(const SDL_KeyboardEvent& key, Event& out) {
    if (key.keysym.sym == kRotateKey) {
        if (key.type != SDL_KEYDOWN || key.repeat != 0) return false;
        out = Event{};
        out.kind = EventKind::Rotate;
        return true;
    }
    int vk = virtual_key_for(key.keysym.sym);
    if (vk == 0) return false;
    out = Event{};
    out.kind = key.type == SDL_KEYDOWN ? EventKind::KeyDown : EventKind::KeyUp;
    out.vk = vk;
    out.shift = (key.keysym.mod & KMOD_SHIFT) != 0;
    out.alt = (key.keysym.mod & KMOD_ALT) != 0;
    return true;
}

bool window_event(const SDL_WindowEvent& window, Event& out) {
    out = Event{};
    switch (window.event) {
    case SDL_WINDOWEVENT_FOCUS_LOST: out.kind = EventKind::FocusLost; return true;
    case SDL_WINDOWEVENT_FOCUS_GAINED: out.kind = EventKind::FocusGained; return true;
    case SDL_WINDOWEVENT_CLOSE: out.kind = EventKind::Close; return true;
    default: return false;
    }
}

}  // namespace

int virtual_key_for(SDL_Keycode key) {
    if (key >= SDLK_a && key <= SDLK_z) return 'A' + (key - SDLK_a);
    if (key >= SDLK_0 && key <= SDLK_9) return '0' + (key - SDLK_0);
    if (key >= SDLK_F1 && key <= SDLK_F12) return kVkF1 + (key - SDLK_F1);
    switch (key) {
    case SDLK_RETURN:
    case SDLK_KP_ENTER: return kVkReturn;
    case SDLK_ESCAPE: return kVkEscape;
    case SDLK_TAB: return kVkTab;
    case SDLK_SPACE: return kVkSpace;
    case SDLK_BACKSPACE: return kVkBack;
    case SDLK_UP: return kVkUp;
    case SDLK_DOWN: return kVkDown;
    case SDLK_LEFT: return kVkLeft;
    case SDLK_RIGHT: return kVkRight;
    default: return 0;
    }
}

bool translate_event(const SDL_Event& in, const WindowGeometry& window, Event& out) {
    switch (in.type) {
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        if (in.button.button != SDL_BUTTON_LEFT) return false;
        return pointer_event(in.type == SDL_MOUSEBUTTONDOWN ? EventKind::PointerDown : EventKind::PointerUp,
                             in.button.x, in.button.y, window, out);
    case SDL_MOUSEMOTION:
        if ((in.motion.state & SDL_BUTTON_LMASK) == 0) return false;  // hovering is not touching
        return pointer_event(EventKind::PointerMove, in.motion.x, in.motion.y, window, out);
    case SDL_KEYDOWN:
    case SDL_KEYUP: return key_event(in.key, out);
    case SDL_WINDOWEVENT: return window_event(in.window, out);
    case SDL_QUIT:
        out = Event{};
        out.kind = EventKind::Close;
        return true;
    default: return false;
    }
}

}  // namespace tickvane::display
