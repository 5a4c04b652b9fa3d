// Device contexts on shown pixels and on memory, compatible bitmaps, device capabilities.
#include <algorithm>

#include "gdi/gdi.h"
#include "gdi/gdi_objects.h"
#include "screen/screen.h"

namespace tickvane::device {

namespace {

constexpr int kMaxBitmapSide = 16384;

}  // namespace

HDC new_shown_dc(PlaceSource source, HANDLE owner, const RECT& clip)
{
    DeviceContext dc;
    dc.kind = DeviceContext::Kind::Shown;
    dc.place = source;
    dc.owner = owner;
    dc.clip = clip;
    return (HDC)add_gdi_object(dc);
}

bool delete_shown_dc(HDC hdc)
{
    DeviceContext* dc = gdi_get<DeviceContext>(hdc);
    if (dc == nullptr || dc->kind != DeviceContext::Kind::Shown)
        return false;
    gdi_objects().objects.erase((uintptr_t)hdc);
    return true;
}

DrawTarget draw_target(HDC hdc, bool tracked_write)
{
    DrawTarget t;
    DeviceContext* dc = gdi_get<DeviceContext>(hdc);
    if (dc == nullptr)
        return t;
    if (dc->kind == DeviceContext::Kind::Memory) {
        t.bitmap = gdi_get<Surface>(dc->bitmap);
        if (t.bitmap == nullptr)
            return t;
        t.clip = RECT{0, 0, t.bitmap->width, t.bitmap->height};
        if (!tracked_write)
            t.bitmap->settle();
        return t;
    }
    SurfacePlace place = dc->place(dc->owner);
    if (place.surface == nullptr)
        return t;
    t.bitmap = place.surface;
    t.origin_x = place.origin_x;
    t.origin_y = place.origin_y;
    t.clip = dc->clip;
    t.shown = true;
    return t;
}

}  // namespace tickvane::device

using namespace tickvane::device;

HDC WINAPI CreateCompatibleDC(HDC hdc)
{
    if (hdc != nullptr && gdi_get<DeviceContext>(hdc) == nullptr)
        return nullptr;
    // A new memory DC holds a 1 x 1 monochrome bitmap until the program selects its own.
    HBITMAP stand_in = (HBITMAP)add_gdi_object(Surface::make_monochrome(1, 1));
    DeviceContext dc;
    dc.kind = DeviceContext::Kind::Memory;
    dc.bitmap = stand_in;
    dc.default_bitmap = stand_in;
    HDC made = (HDC)add_gdi_object(dc);
    gdi_objects().selected_in[(uintptr_t)stand_in] = (uintptr_t)made;
    return made;
}

BOOL WINAPI DeleteDC(HDC hdc)
{
    DeviceContext* dc = gdi_get<DeviceContext>(hdc);
    if (dc == nullptr || dc->kind != DeviceContext::Kind::Memory)
        return FALSE;
    HBITMAP selected = dc->bitmap;
    HBITMAP stand_in = dc->default_bitmap;
    gdi_objects().selected_in.erase((uintptr_t)selected);
    gdi_objects().selected_in.erase((uintptr_t)stand_in);
    gdi_objects().objects.erase((uintptr_t)stand_in);
    gdi_objects().objects.erase((uintptr_t)hdc);
    return TRUE;
}

HBITMAP WINAPI CreateCompatibleBitmap(HDC hdc, int width, int height)
{
    if (width < 0 || height < 0 || width > kMaxBitmapSide || height > kMaxBitmapSide)
        return nullptr;
    DeviceContext* dc = gdi_get<DeviceContext>(hdc);
    if (hdc != nullptr && dc == nullptr)
        return nullptr;
    if (width == 0 || height == 0)
        return (HBITMAP)add_gdi_object(Surface::make_monochrome(1, 1));
    // Compatible with a memory DC means the format of the bitmap it holds.
    Surface* held = (dc != nullptr && dc->kind == DeviceContext::Kind::Memory) ? gdi_get<Surface>(dc->bitmap) : nullptr;
    if (held != nullptr && held->bpp == 1)
        return (HBITMAP)add_gdi_object(Surface::make_monochrome(width, height));
    return (HBITMAP)add_gdi_object(Surface::make_xrgb(width, height));
}

int WINAPI GetDeviceCaps(HDC hdc, int index)
{
    (void)hdc;
    switch (index) {
    case HORZRES:
        return screen().width;
    case VERTRES:
        return screen().height;
    case BITSPIXEL:
        return 32;
    case PLANES:
        return 1;
    case LOGPIXELSX:
    case LOGPIXELSY:
        return 96;
    }
    return 0;
}

int WINAPI GetSystemMetrics(int index)
{
    switch (index) {
    case SM_CXSCREEN:
        return screen().width;
    case SM_CYSCREEN:
        return screen().height;
    }
    return 0;
}
