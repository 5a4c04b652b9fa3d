#include "glyph_sheets.h"

#include "badge_letters.h"
#include "digit_shapes.h"
#include "small_digits.h"

#include <array>
#include <string_view>

namespace tickvane::glyphgen {
namespace {

// Both sheets hold the digits in the order 1 2 ... 9 0.
int DigitAtSlot(int slot) { return (slot + 1) % 10; }

constexpr int kSlots = 10;

// Small sheet: 15 x 30 boxes every 20 columns on row 0; the slash box follows the digits.
constexpr int kSmallPitch = 20;
constexpr int kSmallBoxWidth = 15;
constexpr int kSmallBoxHeight = 30;
constexpr int kSlashX = 200;
constexpr int kSmallInkX = (kSmallBoxWidth - kSmallDigitWidth) / 2;
constexpr int kSmallInkY = (kSmallBoxHeight - kSmallDigitHeight) / 2;

// Weekday badges: 15 x 31 boxes from row 50, three 9-row letters with 2-row gaps.
constexpr int kBadgeTop = 50;
constexpr int kBadgeGap = 2;
constexpr int kBadgeLetterX = 2;

struct Badge {
    std::string_view word;
    int x;
    std::uint8_t colour;
};
constexpr std::array kBadges{
    Badge{"MON", 0, kBlack},  Badge{"TUE", 20, kBlack},         Badge{"WED", 40, kBlack},      Badge{"THU", 60, kBlack},
    Badge{"FRI", 80, kBlack}, Badge{"SAT", 100, kSaturdayBlue}, Badge{"SUN", 180, kSundayRed},
};

// Large sheet: 55 x 128 boxes every 80 columns from column 3, then a 10 x 128 colon box.
constexpr int kLargeFirstX = 3;
constexpr int kLargePitch = 80;
constexpr int kLargeBoxWidth = 55;
constexpr int kLargeHeight = 128;
constexpr int kColonX = 808;
constexpr int kColonWidth = 10;
constexpr DigitFrame kLargeFrame{{5, 14, 50, 114}, 6.0};

// Two dots evenly either side of the figures' middle. They are the figures' pen width across and
// the box's narrower width cuts their sides flat, which keeps them as heavy as the strokes.
StrokedShape ColonShape()
{
    constexpr double middle = (kLargeFrame.ink.top + kLargeFrame.ink.bottom) / 2.0;
    constexpr double spread = 19;
    constexpr double centreX = kColonWidth / 2.0;
    return {{Dot({centreX, middle - spread}), Dot({centreX, middle + spread})},
            kLargeFrame.halfWidth,
            {0, 0, kColonWidth, kLargeHeight}};
}

// Rasterised in a box of its own, so no stroke can reach a neighbouring glyph.
void DrawLarge(IndexedImage& sheet, const StrokedShape& shape, int boxX, int boxWidth)
{
    IndexedImage box = MakeMask(boxWidth, kLargeHeight);
    Rasterise(shape, box, 1);
    sheet.stamp(box, boxX, 0, kBlack);
}

}  // namespace

IndexedImage SmallGlyphSheet()
{
    IndexedImage sheet(240, 90, {{255, 255, 255}, {0, 0, 0}, {64, 96, 192}, {224, 32, 64}}, kWhite);
    for (int slot = 0; slot < kSlots; ++slot)
        DrawSmallDigit(sheet, DigitAtSlot(slot), slot * kSmallPitch + kSmallInkX, kSmallInkY, kBlack);
    DrawSmallSlash(sheet, kSlashX + kSmallInkX, kSmallInkY, kBlack);
    for (const Badge& b : kBadges)
        DrawBadge(sheet, b.word, b.x + kBadgeLetterX, kBadgeTop, kBadgeGap, b.colour);
    return sheet;
}

IndexedImage LargeGlyphSheet()
{
    IndexedImage sheet(869, kLargeHeight, {{255, 255, 255}, {0, 0, 0}}, 0);
    for (int slot = 0; slot < kSlots; ++slot)
        DrawLarge(sheet, DigitShape(DigitAtSlot(slot), kLargeFrame), kLargeFirstX + slot * kLargePitch, kLargeBoxWidth);
    DrawLarge(sheet, ColonShape(), kColonX, kColonWidth);
    return sheet;
}

}  // namespace tickvane::glyphgen
