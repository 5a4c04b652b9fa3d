#include "gdi/fonts.h"

#include "text/text.h"

namespace tickvane::device {

namespace {
constexpr uintptr_t kFontBase = 0xF0000;
constexpr int kLargestFont = 256;
}  // namespace

HFONT font_for_pixels(int pixels)
{
    if (pixels < 1 || pixels > kLargestFont)
        pixels = kDefaultFontPixels;
    return (HFONT)(kFontBase + (uintptr_t)pixels);
}

int font_pixel_size(HFONT font)
{
    auto value = (uintptr_t)font;
    if (value <= kFontBase || value > kFontBase + kLargestFont)
        return kDefaultFontPixels;
    return (int)(value - kFontBase);
}

BaseUnits base_units(HFONT font)
{
    int px = font_pixel_size(font);
    text::Extent letters = text::measure(u"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", px);
    BaseUnits b;
    b.x = (letters.width / 26 + 1) / 2;
    b.y = letters.gdi_height;  // tmHeight, as Windows counts dialog units
    if (b.x < 1)
        b.x = 1;
    if (b.y < 1)
        b.y = 1;
    return b;
}

}  // namespace tickvane::device
