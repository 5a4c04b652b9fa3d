// The screen's size as the clock reads it: from the screen metrics and from a display
// context's HORZRES / VERTRES, both the program window's client area.
#include "handheld_screen.h"

// The system's own functions, which the header's names stand in for.
#undef GetSystemMetrics
#undef GetDeviceCaps

namespace tickvane::win32 {
namespace {

SIZE g_screen = kDefaultScreen;

}  // namespace

SIZE handheld_screen() { return g_screen; }

void set_handheld_screen(SIZE size)
{
    if (size.cx > 0 && size.cy > 0)
        g_screen = size;
}

}  // namespace tickvane::win32

using tickvane::win32::handheld_screen;

int WINAPI HandheldGetSystemMetrics(int index)
{
    if (index == SM_CXSCREEN)
        return handheld_screen().cx;
    if (index == SM_CYSCREEN)
        return handheld_screen().cy;
    return GetSystemMetrics(index);
}

// Only display contexts (windows, the screen, memory compatible with them) show the
// handheld's screen; a printer keeps its page.
int WINAPI HandheldGetDeviceCaps(HDC hdc, int index)
{
    if ((index == HORZRES || index == VERTRES) && GetDeviceCaps(hdc, TECHNOLOGY) == DT_RASDISPLAY)
        return index == HORZRES ? handheld_screen().cx : handheld_screen().cy;
    return GetDeviceCaps(hdc, index);
}
