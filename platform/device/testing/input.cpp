// Input queued as the desktop window queues it, taken by the next message loop.
#include "testing.h"
#include "wm/event_wait.h"

namespace tickvane::device::testing {

namespace {

void queue(display::EventKind kind, int x = 0, int y = 0)
{
    display::Event e;
    e.kind = kind;
    e.x = x;
    e.y = y;
    queue_input(e);
}

void queue_key(display::EventKind kind, int vk, bool shift, bool alt)
{
    display::Event e;
    e.kind = kind;
    e.vk = vk;
    e.shift = shift;
    e.alt = alt;
    queue_input(e);
}

}  // namespace

void pointer_down(int x, int y) { queue(display::EventKind::PointerDown, x, y); }
void pointer_move(int x, int y) { queue(display::EventKind::PointerMove, x, y); }
void pointer_up(int x, int y) { queue(display::EventKind::PointerUp, x, y); }

void tap(int x, int y)
{
    pointer_down(x, y);
    pointer_up(x, y);
}

void key_down(int vk, bool shift, bool alt) { queue_key(display::EventKind::KeyDown, vk, shift, alt); }
void key_up(int vk, bool shift, bool alt) { queue_key(display::EventKind::KeyUp, vk, shift, alt); }

void press_key(int vk, bool shift, bool alt)
{
    key_down(vk, shift, alt);
    key_up(vk, shift, alt);
}

void switch_away() { queue(display::EventKind::FocusLost); }
void switch_back() { queue(display::EventKind::FocusGained); }
void rotate() { queue(display::EventKind::Rotate); }
void close_display() { queue(display::EventKind::Close); }

}  // namespace tickvane::device::testing
