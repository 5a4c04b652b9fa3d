#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "kept_state.h"
#include "testing.h"

using namespace tickvane::device;

TEST(KeptState, ReadsWhatItWroteAndTakesDamagedFilesForNothingKept)
{
    tickvane::device::testing::reset();
    const std::string& root = tickvane::device::testing::root();
    keep_state(root, {true, std::nullopt});
    keep_state(root, {std::nullopt, std::make_pair(-20, 300)});
    KeptState kept = read_kept_state(root);
    EXPECT_EQ(kept.landscape, true) << "a later change dropped an earlier one";
    EXPECT_EQ(kept.window_place, std::make_pair(-20, 300));

    const struct {
        const char* text;
        std::optional<bool> landscape;
        bool placed;
    } files[] = {
        {"", std::nullopt, false},
        {"orientation sideways\nwindow 10\n", std::nullopt, false},
        {"\x01\xff\n\nwindow x y\n", std::nullopt, false},
        {"orientation portrait\nwindow 5 6 extra\n", false, true},
        {"window 99999999999999999999 1\norientation landscape", true, false},
    };
    for (const auto& f : files) {
        std::ofstream(kept_state_path(root), std::ios::trunc) << f.text;
        kept = read_kept_state(root);
        EXPECT_EQ(kept.landscape, f.landscape) << f.text;
        EXPECT_EQ(kept.window_place.has_value(), f.placed) << f.text;
    }
    std::filesystem::remove(kept_state_path(root));
    EXPECT_FALSE(read_kept_state(root).landscape.has_value());
}
