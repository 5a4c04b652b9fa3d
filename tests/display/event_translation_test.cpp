#include <gtest/gtest.h>

#include "sdl/event_translation.h"

using namespace tickvane::display;

namespace {

// a, b: the position for mouse events, key and repeat for keys, what happened for window events.
SDL_Event make(Uint32 type, int a = 0, int b = 0, Uint16 mod = KMOD_NONE) {
    SDL_Event e{};
    e.type = type;
    switch (type) {
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: e.button.button = SDL_BUTTON_LEFT, e.button.x = a, e.button.y = b; break;
    case SDL_MOUSEMOTION: e.motion.state = mod, e.motion.x = a, e.motion.y = b; break;
    case SDL_KEYDOWN:
    case SDL_KEYUP: e.key.keysym.sym = a, e.key.keysym.mod = mod, e.key.repeat = static_cast<Uint8>(b); break;
    case SDL_WINDOWEVENT: e.window.event = static_cast<Uint8>(a); break;
    }
    return e;
}

// What the device receives, or "-" when it gets nothing.
std::string translated(const SDL_Event& in) {
    Event e;
    if (!translate_event(in, WindowGeometry{240, 320, 2}, e)) return "-";
    return std::to_string(static_cast<int>(e.kind)) + " " + std::to_string(e.x) + "," + std::to_string(e.y) + " vk" +
           std::to_string(e.vk) + (e.shift ? " shift" : "") + (e.alt ? " alt" : "");
}
std::string device(EventKind kind, int x = 0, int y = 0, int vk = 0, const char* mods = "") {
    return std::to_string(static_cast<int>(kind)) + " " + std::to_string(x) + "," + std::to_string(y) + " vk" +
           std::to_string(vk) + mods;
}

TEST(EventTranslation, PointerAndWindowEvents) {
    EXPECT_EQ(translated(make(SDL_MOUSEBUTTONDOWN, 101, 51)), device(EventKind::PointerDown, 50, 25));
    EXPECT_EQ(translated(make(SDL_MOUSEBUTTONUP, 5000, -7)), device(EventKind::PointerUp, 239, 0));
    EXPECT_EQ(translated(make(SDL_MOUSEMOTION, 479, 639)), "-") << "hovering is not touching";
    EXPECT_EQ(translated(make(SDL_MOUSEMOTION, 479, 639, SDL_BUTTON_LMASK)), device(EventKind::PointerMove, 239, 319));
    SDL_Event right = make(SDL_MOUSEBUTTONDOWN, 10, 10);
    right.button.button = SDL_BUTTON_RIGHT;
    EXPECT_EQ(translated(right), "-");

    EXPECT_EQ(translated(make(SDL_WINDOWEVENT, SDL_WINDOWEVENT_FOCUS_LOST)), device(EventKind::FocusLost));
    EXPECT_EQ(translated(make(SDL_WINDOWEVENT, SDL_WINDOWEVENT_FOCUS_GAINED)), device(EventKind::FocusGained));
    EXPECT_EQ(translated(make(SDL_WINDOWEVENT, SDL_WINDOWEVENT_CLOSE)), device(EventKind::Close));
    EXPECT_EQ(translated(make(SDL_QUIT)), device(EventKind::Close));
    EXPECT_EQ(translated(make(SDL_WINDOWEVENT, SDL_WINDOWEVENT_MOVED)), "-");
}

TEST(EventTranslation, KeysBecomeVirtualKeysAndF5Rotates) {
    EXPECT_EQ(translated(make(SDL_KEYDOWN, SDLK_z, 0, KMOD_LSHIFT)), device(EventKind::KeyDown, 0, 0, 'Z', " shift"));
    EXPECT_EQ(translated(make(SDL_KEYUP, SDLK_9, 0, KMOD_RALT)), device(EventKind::KeyUp, 0, 0, '9', " alt"));
    EXPECT_EQ(translated(make(SDL_KEYDOWN, SDLK_F12)), device(EventKind::KeyDown, 0, 0, 0x7B));
    EXPECT_EQ(translated(make(SDL_KEYDOWN, SDLK_BACKSPACE)), device(EventKind::KeyDown, 0, 0, 0x08));
    EXPECT_EQ(translated(make(SDL_KEYDOWN, SDLK_LSHIFT)), "-");
    EXPECT_EQ(translated(make(SDL_KEYDOWN, SDLK_F5)), device(EventKind::Rotate));
    EXPECT_EQ(translated(make(SDL_KEYDOWN, SDLK_F5, 1)), "-") << "holding F5 turns the screen once";
    EXPECT_EQ(translated(make(SDL_KEYUP, SDLK_F5)), "-");
}

}  // namespace
