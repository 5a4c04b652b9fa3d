// The GDI object table: bitmaps, brushes and device contexts behind opaque handles.
#include "gdi/gdi.h"
#include "gdi/gdi_objects.h"

namespace tickvane::device {

namespace {

constexpr uintptr_t kStockBase = 0x100;
constexpr int kStockBrushes = 6;  // WHITE_BRUSH .. NULL_BRUSH

bool is_stock(uintptr_t value) { return value >= kStockBase && value < kStockBase + kStockBrushes; }

void add_stock_objects()
{
    static const COLORREF colours[kStockBrushes] = {RGB(255, 255, 255), RGB(192, 192, 192), RGB(128, 128, 128),
                                                    RGB(64, 64, 64),    RGB(0, 0, 0),       0};
    for (int i = 0; i < kStockBrushes; ++i)
        gdi_objects().objects.emplace(kStockBase + (uintptr_t)i, Brush{colours[i], i == NULL_BRUSH});
}

}  // namespace

HGDIOBJ add_gdi_object(GdiObject object)
{
    if (gdi_objects().objects.empty())
        add_stock_objects();
    uintptr_t value = gdi_objects().next;
    gdi_objects().next += 4;
    gdi_objects().objects.emplace(value, std::move(object));
    return (HGDIOBJ)value;
}

COLORREF system_colour(int index)
{
    switch (index) {
    case COLOR_WINDOW:
        return RGB(255, 255, 255);
    case COLOR_WINDOWTEXT:
        return RGB(0, 0, 0);
    }
    return RGB(192, 192, 192);
}

// Brushes come as objects, as (HBRUSH)(COLOR_x + 1) as desktop Windows writes a
// system colour, or as SYS_COLOR_INDEX_FLAG | COLOR_x as Windows CE does.
COLORREF brush_colour(HBRUSH brush, bool& hollow)
{
    uintptr_t value = (uintptr_t)brush;
    hollow = false;
    if ((value & ~(uintptr_t)0xFF) == SYS_COLOR_INDEX_FLAG)
        return system_colour((int)(value & 0xFF));
    if (value >= 1 && value <= 31)
        return system_colour((int)value - 1);
    if (gdi_objects().objects.empty())
        add_stock_objects();
    if (Brush* b = gdi_get<Brush>(brush)) {
        hollow = b->hollow;
        return b->colour;
    }
    hollow = true;
    return 0;
}

}  // namespace tickvane::device

using namespace tickvane::device;

HGDIOBJ WINAPI GetStockObject(int index)
{
    if (index < 0 || index >= kStockBrushes)
        return nullptr;
    if (gdi_objects().objects.empty())
        add_stock_objects();
    return (HGDIOBJ)(kStockBase + (uintptr_t)index);
}

HBRUSH WINAPI CreateSolidBrush(COLORREF colour) { return (HBRUSH)add_gdi_object(Brush{colour & 0xFFFFFF, false}); }

BOOL WINAPI DeleteObject(HGDIOBJ object)
{
    uintptr_t value = (uintptr_t)object;
    if (is_stock(value))
        return TRUE;
    auto it = gdi_objects().objects.find(value);
    if (it == gdi_objects().objects.end() || std::holds_alternative<DeviceContext>(it->second))
        return FALSE;
    if (gdi_objects().selected_in.count(value))
        return FALSE;  // still selected into a DC: Windows refuses too
    gdi_objects().objects.erase(it);
    return TRUE;
}

HGDIOBJ WINAPI SelectObject(HDC hdc, HGDIOBJ object)
{
    DeviceContext* dc = gdi_get<DeviceContext>(hdc);
    if (dc == nullptr)
        return nullptr;
    if (dc->kind == DeviceContext::Kind::Memory && dc->bitmap == (HBITMAP)object && object != nullptr)
        return object;  // selected already: the previous one is itself
    if (gdi_get<Brush>(object) != nullptr) {
        HGDIOBJ previous = dc->brush ? (HGDIOBJ)dc->brush : GetStockObject(WHITE_BRUSH);
        dc->brush = (HBRUSH)object;
        return previous;
    }
    if (gdi_get<Surface>(object) == nullptr || dc->kind != DeviceContext::Kind::Memory)
        return nullptr;
    uintptr_t value = (uintptr_t)object;
    auto holder = gdi_objects().selected_in.find(value);
    if (holder != gdi_objects().selected_in.end() && holder->second != (uintptr_t)hdc)
        return nullptr;  // a bitmap lives in one DC at a time
    HBITMAP previous = dc->bitmap;
    gdi_objects().selected_in.erase((uintptr_t)previous);
    dc->bitmap = (HBITMAP)object;
    gdi_objects().selected_in[value] = (uintptr_t)hdc;
    return previous;
}
