#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "kept/kept_state.h"
#include "testing.h"

using namespace tickvane::device;

TEST(KeptState, ReadsWhatItWroteAndTakesDamagedFilesForNothingKept)
{
    tickvane::device::testing::reset();
    const std::string& root = tickvane::device::testing::root();
    keep_state(root, {true, {640, 480}, std::nullopt});
    keep_state(root, {std::nullopt, {}, tickvane::display::WindowPlace{-20, 300, 1, 23, 1, 1}});
    KeptState kept = read_kept_state(root);
    EXPECT_EQ(kept.landscape, true) << "a later change dropped an earlier one";
    EXPECT_EQ(kept.turned_screen, std::pair(640, 480));
    EXPECT_EQ(kept.window_place, (tickvane::display::WindowPlace{-20, 300, 1, 23, 1, 1}));

    const struct {
        const char* text;
        std::optional<bool> landscape;
        std::pair<int, int> turned_screen;
        bool placed;
        int top;  // of the kept frame
    } files[] = {
        {"", std::nullopt, {240, 320}, false, 0},
        {"orientation sideways\nwindow 10\n", std::nullopt, {240, 320}, false, 0},
        {"\x01\xff\n\nwindow x y\n", std::nullopt, {240, 320}, false, 0},
        {"orientation portrait\nwindow 5 6 extra\n", false, {240, 320}, true, 0},  // as older devices wrote it
        {"window 99999999999999999999 1\norientation landscape", true, {240, 320}, false, 0},
        {"orientation landscape 480x800\nwindow 5 6\nframe 1 23 1 1\n", true, {480, 800}, true, 23},
        {"orientation landscape 0x-5\nwindow 5 6\nframe 1 -23 1 1\n", true, {240, 320}, true, 0},
        {"frame 1 23 1 1\nwindow 5 6\nframe 1 99999 1 1\n", std::nullopt, {240, 320}, true, 0},
    };
    for (const auto& f : files) {
        std::ofstream(kept_state_path(root), std::ios::trunc) << f.text;
        kept = read_kept_state(root);
        EXPECT_EQ(kept.landscape, f.landscape) << f.text;
        EXPECT_EQ(kept.turned_screen, f.turned_screen) << f.text;
        EXPECT_EQ(kept.window_place.has_value(), f.placed) << f.text;
        EXPECT_EQ(kept.window_place ? kept.window_place->top : 0, f.top) << f.text;
    }
    std::filesystem::remove(kept_state_path(root));
    EXPECT_FALSE(read_kept_state(root).landscape.has_value());
}
