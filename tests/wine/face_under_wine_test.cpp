// The Windows clock's face under Wine against the face our device draws for the same
// pinned time and screen size, in every box that the face copies a glyph into.
#include "clock_under_wine.h"

using namespace tickvane::wine;
using std::chrono::seconds;

namespace {

class FaceUnderWine : public ClockUnderWine {};

// The window plays the handheld on a desktop far larger than its screen: the face is laid
// out for the 240 x 320 client area, and for 320 x 240 once the rotate key has turned it.
TEST_F(FaceUnderWine, PortraitEqualsTheDevicesFace)
{
    ASSERT_TRUE(start("2024-06-01 09:05:37"));  // a Saturday
    EXPECT_EQ(face_within(seconds(10)), "");
    save_screen("face");
}

TEST_F(FaceUnderWine, LandscapeEqualsTheDevicesFace)
{
    ASSERT_TRUE(start("2024-12-31 23:59:48"));  // a Tuesday
    ASSERT_TRUE(rotate());
    EXPECT_EQ(face_within(seconds(10)), "");
    save_screen("face");
}

}  // namespace
