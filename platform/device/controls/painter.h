// Painting a control in WM_PAINT: BeginPaint on construction, EndPaint on destruction,
// and the few shapes the controls are made of, drawn straight into the pixels of the
// window's DC and never outside its update area. Coordinates are client coordinates.
#pragma once

#include <cstdint>
#include <string_view>

#include "gdi/gdi.h"

namespace tickvane::device {

class Painter {
public:
    explicit Painter(HWND hwnd);
    ~Painter();
    Painter(const Painter&) = delete;
    Painter& operator=(const Painter&) = delete;

    HDC dc() const { return ps_.hdc; }
    RECT client() const { return client_; }

    void fill(const RECT& r, uint32_t colour);
    void frame(const RECT& r, uint32_t colour);  // a one-pixel outline just inside r
    // A one-pixel edge just inside r: top and left in one colour, bottom and right in the other.
    void edge(const RECT& r, uint32_t top_left, uint32_t bottom_right);
    void dotted_frame(const RECT& r, uint32_t colour);
    // Text with its baseline at `baseline`, cut to `clip` (client coordinates).
    void text(std::u16string_view s, int x, int baseline, int pixel_size, uint32_t colour, const RECT& clip);

private:
    RECT visible(const RECT& r) const;  // r cut to what the DC may touch
    void put(int x, int y, uint32_t colour);

    HWND hwnd_;
    PAINTSTRUCT ps_{};
    DrawTarget target_;
    RECT client_{};
};

inline RECT inset(RECT r, int by) { return RECT{r.left + by, r.top + by, r.right - by, r.bottom - by}; }

}  // namespace tickvane::device
