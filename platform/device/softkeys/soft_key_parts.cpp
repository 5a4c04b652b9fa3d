// The soft keys' parts of the device: the menu bars made, the key held down and
// the bar's look.
#include "parts/part.h"
#include "softkeys/menu_bars.h"
#include "softkeys/shown_bar.h"
#include "softkeys/soft_key_press.h"

namespace tickvane::device {

namespace {

constinit parts::PartOf<MenuBars> g_menu_bars;
constinit parts::PartOf<SoftKeyPress> g_press;
constinit parts::PartOf<BarVersion> g_look;

}  // namespace

MenuBars& menu_bars() { return g_menu_bars.get(); }
SoftKeyPress& soft_key_press_state() { return g_press.get(); }
BarVersion& soft_key_look() { return g_look.get(); }

}  // namespace tickvane::device
