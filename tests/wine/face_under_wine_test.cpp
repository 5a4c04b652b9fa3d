// The Windows clock's face under Wine against the face our device draws for the same
// pinned time and screen size, in every box that the face copies a glyph into.
#include "clock_under_wine.h"

using namespace tickvane::wine;
using std::chrono::seconds;

namespace {

class FaceUnderWine : public ClockUnderWine {};

// Screens big enough that Wine's client area, below its caption and menu bar, holds all
// that the face draws. On the portrait one the face's 400-pixel back buffer cuts the
// last minute digit; the landscape one is narrow enough to show the seconds.
TEST_F(FaceUnderWine, PortraitEqualsTheDevicesFace)
{
    ASSERT_TRUE(start(480, 640, "2024-06-01 09:05:37"));  // a Saturday
    EXPECT_EQ(face_within(seconds(10)), "");
    save_screen("face");
}

TEST_F(FaceUnderWine, LandscapeEqualsTheDevicesFace)
{
    ASSERT_TRUE(start(400, 300, "2024-12-31 23:59:48"));  // a Tuesday
    EXPECT_EQ(face_within(seconds(10)), "");
    save_screen("face");
}

}  // namespace
