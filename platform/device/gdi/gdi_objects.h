// GDI objects by handle: bitmaps, brushes and device contexts.
#pragma once

#include <cstdint>
#include <map>
#include <unordered_map>
#include <variant>

#include "screen/surface.h"
#include "win32.h"

namespace tickvane::device {

struct DeviceContext {
    enum class Kind { Window, Memory } kind = Kind::Memory;
    HWND hwnd = nullptr;       // Window: whose pixels
    HBITMAP bitmap = nullptr;  // Memory: the selected bitmap
    HBITMAP default_bitmap = nullptr;
    HBRUSH brush = nullptr;
    RECT clip{};  // Window: client coordinates the DC may touch
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
