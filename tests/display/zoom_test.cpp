#include <gtest/gtest.h>

#include "x11/zoom.h"

using tickvane::display::choose_zoom;
using tickvane::display::ZoomFacts;

TEST(Zoom, FollowsTheDesktopsDpiAndNeverOutgrowsTheWorkAreaInEitherOrientation)
{
    const struct {
        int dpi, work_width, work_height, requested;
        int zoom;
        bool warns;
    } cases[] = {
        {96, 1920, 1080, 0, 2, false},   // an ordinary monitor
        {144, 1920, 1080, 0, 3, false},  // 150 %
        {192, 3840, 2160, 0, 4, false},  // 200 %
        {288, 3840, 2080, 0, 6, false},  // 300 %, a panel's height less: 6 * 320 still fits
        {192, 1920, 1080, 0, 3, false},  // HiDPI setting on a small work area: as far as it fits
        {72, 1920, 1080, 0, 2, false},   // below 96: still 2
        {96, 600, 700, 0, 1, false},     // 640 rows do not fit the narrow side either way round
        {96, 1024, 768, 4, 2, true},     // asked for more than fits
        {96, 1024, 768, 2, 2, false},   {96, 1920, 1080, 1, 1, false},  // asked for less than the default
        {96, 200, 200, 3, 1, true},                                     // nothing fits: 1 at the least
    };
    for (const auto& c : cases) {
        ZoomFacts facts{c.dpi, c.work_width, c.work_height, 240, 320, c.requested};
        std::string warning;
        EXPECT_EQ(choose_zoom(facts, &warning), c.zoom)
            << c.dpi << " dpi, " << c.work_width << "x" << c.work_height << ", asked " << c.requested;
        EXPECT_EQ(!warning.empty(), c.warns) << warning;
    }
}
