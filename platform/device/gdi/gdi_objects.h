// GDI objects by handle: bitmaps, brushes and device contexts.
#pragma once

#include <cstdint>
#include <map>
#include <unordered_map>
#include <variant>

#include "screen/surface.h"
#include "win32.h"

namespace tickvane::device {

// Where a DC's pixels lie: the surface and the DC's origin in it.
struct SurfacePlace {
    Surface* surface = nullptr;
    int origin_x = 0, origin_y = 0;
};
// Shown pixels belong to someone else and may move or go away while a DC on them lives,
// so the DC asks their owner where they are each time it draws; no surface: they are gone.
using PlaceSource = SurfacePlace (*)(HANDLE owner);

struct DeviceContext {
    enum class Kind { Shown, Memory } kind = Kind::Memory;
    PlaceSource place = nullptr;  // Shown: asked where the pixels are
    HANDLE owner = nullptr;       // Shown: whose pixels, passed to `place`
    HBITMAP bitmap = nullptr;     // Memory: the selected bitmap
    HBITMAP default_bitmap = nullptr;
    HBRUSH brush = nullptr;
    RECT clip{};  // Shown: DC coordinates it may touch
};

struct Brush {
    COLORREF colour = 0;
    bool hollow = false;
};

using GdiObject = std::variant<Surface, Brush, DeviceContext>;

struct GdiObjects {
    std::unordered_map<uintptr_t, GdiObject> objects;
    uintptr_t next = 0x10000;
    std::map<uintptr_t, uintptr_t> selected_in;  // bitmap -> memory DC holding it
};

GdiObjects& gdi_objects();

}  // namespace tickvane::device
