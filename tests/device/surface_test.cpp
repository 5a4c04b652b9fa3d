// Every kind of write into a surface keeps its bookkeeping: a copy that only redoes
// what changed still sees it, a fill that is owed again does not leave it behind, and a
// shown surface damages the screen where it changed.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "screen/screen.h"
#include "screen/surface.h"
#include "testing.h"

using namespace tickvane::device;
namespace dt = tickvane::device::testing;

namespace {

constexpr int kW = 40, kH = 20;
constexpr uint32_t kWhite = 0xFFFFFF, kInk = 0x102030;
const PixelRect kWhole{0, 0, kW, kH};

std::vector<uint32_t> pixels_of(Surface& s)
{
    s.settle();
    std::vector<uint32_t> out((size_t)kW * kH);
    for (int y = 0; y < kH; ++y)
        s.read(0, y, kW, out.data() + (size_t)y * kW);
    return out;
}

Surface ink_square()
{
    Surface s = Surface::make_xrgb(6, 6);
    s.fill(PixelRect{0, 0, 6, 6}, kInk);
    return s;
}

struct Write {
    const char* name;
    std::function<void(Surface&)> apply;
};

const std::vector<Write> kWrites = {
    {"fill",
     [](Surface& s) {
         s.fill(PixelRect{3, 4, 9, 7}, kInk);
     }},
    {"fill_deferred",
     [](Surface& s) {
         s.fill_deferred(PixelRect{3, 4, 9, 7}, kInk);
     }},
    {"write",
     [](Surface& s) {
         std::vector<uint32_t> run(7, kInk);
         s.write(-2, 5, 7, run.data());
     }},
    {"draw_text", [](Surface& s) { s.draw_text(kWhole, 2, 15, u"Ab", 14, kInk); }},
    {"copy_deferred",
     [](Surface& s) {
         s.copy_deferred(ink_square(), PixelRect{0, 0, 6, 6}, 20, 3);
     }},
    {"copy_shown",
     [](Surface& s) {
         s.copy_shown(ink_square(), PixelRect{0, 0, 6, 6}, 20, 3);
     }},
};

}  // namespace

TEST(Surface, EveryWriteReachesACopyThatRedoesOnlyWhatChangedSince)
{
    dt::reset();
    for (const Write& w : kWrites) {
        SCOPED_TRACE(w.name);
        Surface source = Surface::make_xrgb(kW, kH), shown = Surface::make_xrgb(kW, kH);
        source.fill(kWhole, kWhite);
        shown.copy_shown(source, kWhole, 0, 0);
        std::vector<uint32_t> before = pixels_of(source);
        w.apply(source);
        ASSERT_NE(pixels_of(source), before);
        shown.copy_shown(source, kWhole, 0, 0);  // the same copy again: only what the source logged
        EXPECT_EQ(pixels_of(shown), pixels_of(source));
    }
}

TEST(Surface, AFillOwedAgainCoversEveryWriteMadeSince)
{
    dt::reset();
    for (const Write& w : kWrites) {
        SCOPED_TRACE(w.name);
        Surface memory = Surface::make_xrgb(kW, kH);
        memory.fill_deferred(kWhole, kWhite);
        memory.copy_deferred(ink_square(), PixelRect{0, 0, 6, 6}, 30, 10);  // a drawing the fill tracks
        w.apply(memory);
        memory.fill_deferred(kWhole, kWhite);
        EXPECT_EQ(pixels_of(memory), std::vector<uint32_t>((size_t)kW * kH, kWhite));
    }
}

TEST(Surface, EveryWriteToAShownSurfaceDamagesTheScreenWhereItChanged)
{
    dt::reset();
    const RECT frame{100, 50, 100 + kW, 50 + kH};  // where the screen shows it
    for (const Write& w : kWrites) {
        SCOPED_TRACE(w.name);
        Surface shown = Surface::make_xrgb(kW, kH);
        shown.fill(kWhole, kWhite);
        shown.show_at(&frame);
        std::vector<uint32_t> before = pixels_of(shown);
        take_damage();
        w.apply(shown);
        PixelRect damaged = take_damage();
        std::vector<uint32_t> after = pixels_of(shown);
        PixelRect changed;
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x)
                if (after[(size_t)y * kW + x] != before[(size_t)y * kW + x])
                    changed = bounding_union(changed, PixelRect{x, y, x + 1, y + 1});
        ASSERT_FALSE(changed.empty());
        EXPECT_TRUE(contains(damaged, changed.offset(frame.left, frame.top)));
    }
}
