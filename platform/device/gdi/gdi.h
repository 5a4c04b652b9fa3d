// Internal GDI helpers shared by the device.
#pragma once

#include "gdi/gdi_objects.h"

namespace tickvane::device {

// A DC on shown pixels that may touch `clip` (DC coordinates).
HDC new_shown_dc(PlaceSource source, HANDLE owner, const RECT& clip);
// Ends a DC made by new_shown_dc; false for any other handle.
bool delete_shown_dc(HDC hdc);
HGDIOBJ add_gdi_object(GdiObject object);
template <class T>
T* gdi_get(const void* handle)
{
    auto it = gdi_objects().objects.find((uintptr_t)handle);
    return it == gdi_objects().objects.end() ? nullptr : std::get_if<T>(&it->second);
}
// The bitmap a DC draws into, with the offset of the DC's origin in it and the
// rectangle (in DC coordinates) it may touch.
struct DrawTarget {
    Surface* bitmap = nullptr;
    int origin_x = 0, origin_y = 0;
    RECT clip{};
    bool shown = false;  // on the screen: writes show at once (and the surface damages it)
};
// A memory bitmap's owed fills are carried out first, unless the caller writes to it only
// through the fill track (BitBlt's destination, FillRect).
DrawTarget draw_target(HDC hdc, bool tracked_write = false);
COLORREF brush_colour(HBRUSH brush, bool& hollow);
COLORREF system_colour(int index);

}  // namespace tickvane::device
