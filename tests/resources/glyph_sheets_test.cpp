// The committed glyph sheets, checked against the layout the clock face copies from.
#include "resource_readers.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

namespace restest = tickvane::restest;

using restest::Bmp;
using restest::Rgb;

constexpr Rgb kWhite{255, 255, 255}, kBlack{0, 0, 0}, kBlue{64, 96, 192}, kRed{224, 32, 64};

struct Box {
    std::string name;
    int x, y, w, h;
    Rgb ink;
    bool Contains(int px, int py) const { return px >= x && px < x + w && py >= y && py < y + h; }
};

Bmp Load(const char* name)
{
    return restest::DecodeBmp(restest::ReadFile(std::string(TICKVANE_RESOURCES_DIR) + "/" + name));
}

// Digits in sheet order 1..9, 0.
std::vector<Box> SmallDigitBoxes()
{
    std::vector<Box> boxes;
    for (int i = 0; i < 10; ++i)
        boxes.push_back({"small " + std::to_string((i + 1) % 10), 20 * i, 0, 15, 30, kBlack});
    return boxes;
}

std::vector<Box> SmallSheetBoxes()
{
    std::vector<Box> boxes = SmallDigitBoxes();
    boxes.push_back({"slash", 200, 0, 15, 30, kBlack});
    const char* names[] = {"MON", "TUE", "WED", "THU", "FRI", "SAT"};
    for (int i = 0; i < 6; ++i)
        boxes.push_back({names[i], 20 * i, 50, 15, 31, i == 5 ? kBlue : kBlack});
    boxes.push_back({"SUN", 180, 50, 15, 31, kRed});
    return boxes;
}

std::vector<Box> LargeDigitBoxes()
{
    std::vector<Box> boxes;
    for (int i = 0; i < 10; ++i)
        boxes.push_back({"large " + std::to_string((i + 1) % 10), 3 + 80 * i, 0, 55, 128, kBlack});
    return boxes;
}

// Every pixel outside the boxes is white; every pixel inside is white or the box's ink; every box has ink.
void ExpectInkOnlyInBoxes(const Bmp& sheet, const std::vector<Box>& boxes)
{
    std::vector<int> inkCount(boxes.size(), 0);
    int strays = 0;
    for (int y = 0; y < sheet.height; ++y)
        for (int x = 0; x < sheet.width; ++x) {
            const Rgb c = sheet.At(x, y);
            if (c == kWhite)
                continue;
            bool placed = false;
            for (std::size_t i = 0; i < boxes.size(); ++i)
                if (boxes[i].Contains(x, y)) {
                    placed = true;
                    EXPECT_TRUE(c == boxes[i].ink) << boxes[i].name << " has a foreign colour at " << x << "," << y;
                    ++inkCount[i];
                }
            if (!placed)
                ++strays;
        }
    EXPECT_EQ(strays, 0) << "ink outside every copy box";
    for (std::size_t i = 0; i < boxes.size(); ++i)
        EXPECT_GT(inkCount[i], 0) << boxes[i].name << " is empty";
}

std::vector<bool> Pixels(const Bmp& sheet, const Box& b)
{
    std::vector<bool> ink;
    for (int y = b.y; y < b.y + b.h; ++y)
        for (int x = b.x; x < b.x + b.w; ++x)
            ink.push_back(!(sheet.At(x, y) == kWhite));
    return ink;
}

// Pairwise, every two digits differ in at least `minDifferent` pixels.
void ExpectDigitsDistinct(const Bmp& sheet, const std::vector<Box>& digits, int minDifferent)
{
    for (std::size_t i = 0; i < digits.size(); ++i)
        for (std::size_t j = i + 1; j < digits.size(); ++j) {
            const auto a = Pixels(sheet, digits[i]), b = Pixels(sheet, digits[j]);
            int different = 0;
            for (std::size_t k = 0; k < a.size(); ++k)
                different += a[k] != b[k];
            EXPECT_GE(different, minDifferent) << digits[i].name << " vs " << digits[j].name;
        }
}

// Rows [first, last] that hold ink inside a box.
std::pair<int, int> InkRows(const Bmp& sheet, const Box& b)
{
    int first = b.y + b.h, last = -1;
    for (int y = b.y; y < b.y + b.h; ++y)
        for (int x = b.x; x < b.x + b.w; ++x)
            if (!(sheet.At(x, y) == kWhite)) {
                first = std::min(first, y);
                last = std::max(last, y);
            }
    return {first, last};
}

TEST(SmallGlyphSheet, IsA240By90EightBitBottomUpBitmapWithExactlyFourColours)
{
    const Bmp s = Load("small_glyphs.bmp");
    EXPECT_EQ(s.width, 240);
    EXPECT_EQ(s.height, 90);
    EXPECT_EQ(s.bitsPerPixel, 8);
    EXPECT_EQ(s.planes, 1);
    EXPECT_EQ(s.compression, 0u);
    EXPECT_EQ(s.infoSize, 40u);
    EXPECT_EQ(s.coloursUsed, 4u);
    EXPECT_EQ(s.pixelOffset, 14u + 40u + 4u * 4u);
    EXPECT_EQ(s.imageSize, 240u * 90u);
    EXPECT_EQ(s.fileSize, s.pixelOffset + s.imageSize);
    const std::set<std::tuple<int, int, int>> palette{{255, 255, 255}, {0, 0, 0}, {64, 96, 192}, {224, 32, 64}};
    std::set<std::tuple<int, int, int>> got;
    for (const Rgb& c : s.palette)
        got.insert({c.r, c.g, c.b});
    EXPECT_EQ(got, palette);
}

TEST(SmallGlyphSheet, KeepsEachColourInsideItsBoxes)
{
    ExpectInkOnlyInBoxes(Load("small_glyphs.bmp"), SmallSheetBoxes());
}

TEST(SmallGlyphSheet, DigitsAreDistinctAndShareOneBaseline)
{
    const Bmp s = Load("small_glyphs.bmp");
    ExpectDigitsDistinct(s, SmallDigitBoxes(), 12);
    for (const Box& b : SmallDigitBoxes())
        EXPECT_EQ(InkRows(s, b), InkRows(s, SmallDigitBoxes()[9])) << b.name;
}

TEST(LargeGlyphSheet, IsAn869By128TwentyFourBitBottomUpBitmap)
{
    const Bmp l = Load("large_glyphs.bmp");
    EXPECT_EQ(l.width, 869);
    EXPECT_EQ(l.height, 128);
    EXPECT_EQ(l.bitsPerPixel, 24);
    EXPECT_EQ(l.compression, 0u);
    EXPECT_EQ(l.coloursUsed, 0u);
    EXPECT_EQ(l.pixelOffset, 54u);
    EXPECT_EQ(l.imageSize, 2608u * 128u);  // 869 * 3 bytes padded to 2608
    EXPECT_EQ(l.fileSize, l.pixelOffset + l.imageSize);
}

TEST(LargeGlyphSheet, IsBlackOnWhiteInsideTheDigitAndColonBoxes)
{
    std::vector<Box> boxes = LargeDigitBoxes();
    boxes.push_back({"colon", 808, 0, 10, 128, kBlack});
    ExpectInkOnlyInBoxes(Load("large_glyphs.bmp"), boxes);
}

TEST(LargeGlyphSheet, DigitsAreDistinctAndLeaveRoomToStandSideBySide)
{
    const Bmp l = Load("large_glyphs.bmp");
    ExpectDigitsDistinct(l, LargeDigitBoxes(), 200);
    // Copies stand 55 pixels apart on a portrait screen: blank side columns keep neighbours apart.
    for (Box b : LargeDigitBoxes()) {
        for (int side : {b.x, b.x + 1, b.x + 2, b.x + 52, b.x + 53, b.x + 54})
            EXPECT_EQ(InkRows(l, {b.name, side, 0, 1, 128, kBlack}).second, -1) << b.name << " column " << side;
    }
}

TEST(LargeGlyphSheet, ColonDotsSitAroundTheDigitsMiddle)
{
    const Bmp l = Load("large_glyphs.bmp");
    const auto [digitTop, digitBottom] = InkRows(l, LargeDigitBoxes()[9]);
    const Box colon{"colon", 808, 0, 10, 128, kBlack};
    const auto [colonTop, colonBottom] = InkRows(l, colon);
    EXPECT_NEAR(colonTop + colonBottom, digitTop + digitBottom, 4);
    // Two dots: some row between them is blank.
    EXPECT_EQ(InkRows(l, {"gap", 808, (colonTop + colonBottom) / 2, 10, 1, kBlack}).second, -1);
}

}  // namespace
