#include "app_icon.h"

#include "strokes.h"

#include <array>
#include <stdexcept>
#include <string_view>

namespace tickvane::glyphgen {
namespace {

// The 16 colours every Windows display can show, in their usual order.
const std::vector<Rgb> kStandard16{{0, 0, 0},       {128, 0, 0},   {0, 128, 0},   {128, 128, 0},
                                   {0, 0, 128},     {128, 0, 128}, {0, 128, 128}, {192, 192, 192},
                                   {128, 128, 128}, {255, 0, 0},   {0, 255, 0},   {255, 255, 0},
                                   {0, 0, 255},     {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};
const std::vector<Rgb> kMonochrome{{0, 0, 0}, {255, 255, 255}};

constexpr std::uint8_t kBlack = 0, kNavy = 4, kGrey = 8, kRed = 9, kWhite = 15;
constexpr std::uint8_t kMonoWhite = 1;

// Outside the face: colour index 0 under a set mask bit, so the screen shows through unchanged.
IconImage BlankIcon(int size, const std::vector<Rgb>& palette, int bitsPerPixel)
{
    IconImage icon{IndexedImage(size, size, palette, 0), MakeMask(size, size), bitsPerPixel};
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            icon.transparent.set(x, y, 1);
    return icon;
}

void Paint(IconImage& icon, std::vector<Stroke> strokes, double halfWidth, std::uint8_t index)
{
    const int size = icon.colours.width();
    Rasterise({std::move(strokes), halfWidth, {0, 0, size, size}}, icon.colours, index);
}

// 32 pixels: drawn from geometry. The face is opaque wherever the rim's outer edge encloses.
IconImage LargeColourFace()
{
    constexpr int size = 32;
    constexpr double mid = size / 2.0, radius = mid - 0.25, rim = 2;
    IconImage icon = BlankIcon(size, kStandard16, 4);
    Rasterise({{Dot({mid, mid})}, radius, {0, 0, size, size}}, icon.transparent, 0);
    Paint(icon, {Dot({mid, mid})}, radius, kWhite);
    Paint(icon, {Arc{{mid, mid}, radius - rim / 2, 0, 360}}, rim / 2, kNavy);
    constexpr double tickIn = radius - rim - 3.5, tickOut = radius - rim - 1;
    Paint(icon,
          {Segment{{mid, mid - tickOut}, {mid, mid - tickIn}},   // 12
           Segment{{mid + tickIn, mid}, {mid + tickOut, mid}},   // 3
           Segment{{mid, mid + tickIn}, {mid, mid + tickOut}},   // 6
           Segment{{mid - tickOut, mid}, {mid - tickIn, mid}}},  // 9
          1, kGrey);
    // Three o'clock: a long minute hand up, a short hour hand to the right, a red hub.
    Paint(icon, {Segment{{mid, mid - 9}, {mid, mid}}, Segment{{mid, mid}, {mid + 7, mid}}}, 1, kBlack);
    Paint(icon, {Dot({mid, mid})}, 2, kRed);
    return icon;
}

// 16 pixels: too few for geometry to land cleanly, so placed by hand. '.' is transparent.
constexpr std::array<std::string_view, 16> kSmallFace{
    "......nnnn......", "....nnwwwwnn....", "...nwwwwwwwwn...", "..nwwwwkkwwwwn..",
    ".nwwwwwkkwwwwwn.", ".nwwwwwkkwwwwwn.", "nwwwwwwkkwwwwwwn", "ngwwwwwrrkkkwwgn",
    "ngwwwwwrrkkkwwgn", "nwwwwwwwwwwwwwwn", ".nwwwwwwwwwwwwn.", ".nwwwwwwwwwwwwn.",
    "..nwwwwwwwwwwn..", "...nwwwggwwwn...", "....nnwwwwnn....", "......nnnn......",
};

std::uint8_t SmallFaceColour(char c)
{
    switch (c) {
    case 'n':
        return kNavy;
    case 'w':
        return kWhite;
    case 'k':
        return kBlack;
    case 'g':
        return kGrey;
    case 'r':
        return kRed;
    default:
        return kBlack;
    }
}

IconImage SmallColourFace()
{
    constexpr int size = 16;
    IconImage icon = BlankIcon(size, kStandard16, 4);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const char c = kSmallFace[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)];
            if (c == '.')
                continue;
            icon.colours.set(x, y, SmallFaceColour(c));
            icon.transparent.set(x, y, 0);
        }
    return icon;
}

// Monochrome keeps the face white and turns every other ink black.
IconImage ToMonochrome(const IconImage& colour)
{
    const int size = colour.colours.width();
    IconImage mono{IndexedImage(size, size, kMonochrome, 0), colour.transparent, 1};
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            if (colour.colours.at(x, y) == kWhite)
                mono.colours.set(x, y, kMonoWhite);
    return mono;
}

}  // namespace

IconImage ClockFaceIcon(int size, int bitsPerPixel)
{
    if (size != 16 && size != 32)
        throw std::invalid_argument("the icon comes in 16 and 32 pixels");
    if (bitsPerPixel != 4 && bitsPerPixel != 1)
        throw std::invalid_argument("the icon comes in 4 and 1 bits");
    IconImage colour = size == 32 ? LargeColourFace() : SmallColourFace();
    return bitsPerPixel == 4 ? colour : ToMonochrome(colour);
}

std::vector<IconImage> AppIconImages()
{
    std::vector<IconImage> images;
    for (int bits : {4, 1})
        for (int size : {32, 16})
            images.push_back(ClockFaceIcon(size, bits));
    return images;
}

}  // namespace tickvane::glyphgen
