// Drawing that the device's own windows (dialogs, boxes, controls) do through a DC:
// text in the device's font, and solid shapes, clipped to what the DC may touch.
#pragma once

#include <cstdint>
#include <string_view>

#include "win32.h"

namespace tickvane::device {

// `text` with its baseline at `baseline` (DC coordinates); returns the advance.
int dc_draw_text(HDC hdc, int x, int baseline, std::u16string_view text, int pixel_size, uint32_t xrgb);
void dc_fill(HDC hdc, const RECT& r, uint32_t xrgb);
// A filled disc of `diameter` pixels with its top-left corner at x, y.
void dc_disc(HDC hdc, int x, int y, int diameter, uint32_t xrgb);

}  // namespace tickvane::device
