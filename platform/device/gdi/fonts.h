// The device has one typeface; a font handle names a pixel size of it.
#pragma once

#include "win32.h"

namespace tickvane::device {

constexpr int kDefaultFontPixels = 12;  // the system font, for windows given none

HFONT font_for_pixels(int pixels);
// The pixel size a font handle stands for; kDefaultFontPixels for null or foreign handles.
int font_pixel_size(HFONT font);
// Dialog base units of a font, as Windows derives them: the average width of the Latin
// letters and the line height.
struct BaseUnits {
    int x = 0, y = 0;
};
BaseUnits base_units(HFONT font);

}  // namespace tickvane::device
