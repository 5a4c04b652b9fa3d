#include "clock_on_xvfb.h"

#include "bounded_process.h"

namespace tickvane::e2e {

void ClockOnXvfb::SetUp()
{
    if (std::string(TICKVANE_LIBFAKETIME).empty())
        GTEST_SKIP() << "libfaketime is not installed";
    if (!run_bounded({"xdotool", "version"}, environment_with({}), std::chrono::seconds(5)).finished)
        GTEST_SKIP() << "xdotool is not installed";
    std::string why;
    x_ = display::testing::X11Session::start(24, &why);
    if (!x_)
        GTEST_SKIP() << why;
    ASSERT_TRUE(tree_.install(TICKVANE_CMAKE, TICKVANE_BUILD_DIR, &why)) << why;
}

}  // namespace tickvane::e2e
