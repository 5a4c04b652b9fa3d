// Placeholder until the soft-key bar is built: an empty bar.
#include "softkeys/soft_key_bar.h"

#include <algorithm>

#include "testing.h"

namespace tickvane::device {

void draw_soft_key_bar(uint32_t* pixels, int width, int height)
{
    std::fill(pixels, pixels + (size_t)width * (size_t)height, 0x404040u);
}

uint64_t soft_key_bar_version() { return 0; }

bool soft_key_takes_pointer(const display::Event&) { return false; }

bool soft_key_pointer(const display::Event&, MSG&) { return false; }

bool soft_key_press(int, MSG&) { return false; }

void forget_menu_bar(HWND) {}

void reset_soft_keys() {}

}  // namespace tickvane::device

namespace tickvane::device::testing {
RECT soft_key_rect(int) { return RECT{}; }
std::u16string soft_key_label(int) { return {}; }
bool soft_key_enabled(int) { return false; }
void refuse_menu_bars(bool) {}
}  // namespace tickvane::device::testing
