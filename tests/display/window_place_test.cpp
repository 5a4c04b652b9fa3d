#include <gtest/gtest.h>

#include "window_place.h"

using namespace tickvane::display;

namespace {

// openbox's frame: 1-pixel borders and a 22-pixel title bar around a 480 x 640 image.
constexpr WindowPlace kFramed{100, 350, 1, 23, 1, 1};

FrameFacts standing_at(int x, int y) { return {true, false, {x, y, 482, 664}, {x + 1, y + 23, 480, 640}}; }

}  // namespace

TEST(WindowPlace, OnlyAPlaceAPersonChoseIsKept)
{
    FrameFacts animation = standing_at(100, 350);
    animation.frame = {163, 640, 241, 23};  // a minimise animation's frame: the title bar alone, shrinking
    FrameFacts iconic = standing_at(100, 350), unmapped = iconic, bare = iconic, restoring = iconic;
    iconic.iconic = true;
    unmapped.viewable = false;
    bare.frame = bare.image;  // no window manager: the window is its own frame
    restoring.frame = {539, 1381, 482, 23};
    const struct {
        const char* what;
        FrameFacts facts;
        std::optional<WindowPlace> kept;
    } cases[] = {
        {"moved by the person", standing_at(100, 350), kFramed},
        {"off the desktop's left edge", standing_at(-20, 300), WindowPlace{-20, 300, 1, 23, 1, 1}},
        {"a frame of the minimise animation", animation, std::nullopt},
        {"a frame of the restore animation", restoring, std::nullopt},
        {"minimised", iconic, std::nullopt},
        {"unmapped", unmapped, std::nullopt},
        {"without a window manager", bare, WindowPlace{101, 373, 0, 0, 0, 0}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(chosen_place(c.facts), c.kept) << c.what;
}

TEST(WindowPlace, AKeptPlaceIsMovedAsLittleAsNeededOntoTheWorkArea)
{
    const Rect desktop{0, 0, 1600, 1200}, below_panel{0, 30, 1600, 1170};
    const Rect left_monitor{0, 0, 1280, 1024}, right_monitor{1280, 0, 1920, 1080};
    const struct {
        const char* what;
        WindowPlace kept;
        int image_w, image_h;
        std::vector<Rect> areas;
        int x, y;
    } cases[] = {
        {"fits where it was", kFramed, 480, 640, {desktop}, 100, 350},
        {"zoom 3 reaches below the screen", {300, 530, 1, 23, 1, 1}, 720, 960, {desktop}, 300, 216},
        {"a larger screen size", {300, 530, 1, 23, 1, 1}, 960, 1600, {desktop}, 300, 0},
        {"landscape now, past the right edge", {1300, 100, 1, 23, 1, 1}, 640, 480, {desktop}, 958, 100},
        {"above a top panel", {50, 0, 1, 23, 1, 1}, 480, 640, {below_panel}, 50, 30},
        {"left of the desktop", {-20, 300, 1, 23, 1, 1}, 480, 640, {desktop}, 0, 300},
        {"on the monitor it overlaps most",
         {1200, 900, 1, 23, 1, 1},
         480,
         640,
         {left_monitor, right_monitor},
         1280,
         416},
        {"on the nearest monitor when it is on none",
         {4000, 50, 1, 23, 1, 1},
         480,
         640,
         {left_monitor, right_monitor},
         2718,
         50},
        {"larger than the work area: its top-left corner", {10, 10, 1, 23, 1, 1}, 1920, 2560, {desktop}, 0, 0},
        {"no work area known", kFramed, 480, 640, {}, 100, 350},
    };
    for (const auto& c : cases) {
        WindowPlace got = place_inside(c.kept, c.image_w, c.image_h, c.areas);
        EXPECT_EQ(std::pair(got.x, got.y), std::pair(c.x, c.y)) << c.what;
        EXPECT_EQ(std::tuple(got.left, got.top, got.right, got.bottom),
                  std::tuple(c.kept.left, c.kept.top, c.kept.right, c.kept.bottom))
            << c.what;
    }
}
