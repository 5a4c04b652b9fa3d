// The soft-key bar as a person sees it, and a shell with no room for one.
#include "seams/seams.h"
#include "softkeys/menu_bars.h"
#include "softkeys/shown_bar.h"
#include "testing.h"

namespace tickvane::device::testing {

RECT soft_key_rect(int index) { return soft_key_screen_rect(index); }

std::u16string soft_key_label(int index)
{
    return index == 0 || index == 1 ? shown_bar().keys[(size_t)index].label : std::u16string();
}

bool soft_key_enabled(int index) { return (index == 0 || index == 1) && shown_bar().keys[(size_t)index].enabled; }

void refuse_menu_bars(bool refuse) { seams().refuse_menu_bars = refuse; }

}  // namespace tickvane::device::testing
