// The Windows stand-ins' own tests (tests/win32, a Windows console program) run in the
// shared prefix, where Wine's Task Scheduler and menus answer them.
#include <gtest/gtest.h>

#include <filesystem>

#include "bounded_process.h"
#include "wine_prefix.h"
#include "x11_session.h"

namespace fs = std::filesystem;
using namespace tickvane::wine;

TEST(StandInsUnderWine, TheirTestsPass)
{
    if (std::string missing = missing_tools(); !missing.empty())
        GTEST_SKIP() << missing;
    std::string why;
    WinePrefix* prefix = WinePrefix::shared(&why);
    ASSERT_NE(prefix, nullptr) << why;
    ASSERT_EQ(prefix->reset(TICKVANE_WINDOWS_ZUBO), "");
    auto x = tickvane::display::testing::X11Session::start(24, &why);  // the menu bar's windows
    ASSERT_NE(x, nullptr) << why;
    ServerStop stop{prefix};  // Wine's desktop process must not outlive this X server
    fs::path tests = fs::path(TICKVANE_WINDOWS_ZUBO).parent_path() / "win32_standin_tests.exe";
    std::error_code ec;
    fs::copy_file(tests, fs::path(prefix->drive_c()) / tests.filename(), fs::copy_options::overwrite_existing, ec);
    ASSERT_FALSE(ec) << tests << ": " << ec.message();

    // From drive C, whose root the tests' rooted paths name.
    auto done = tickvane::e2e::run_bounded({"env", "-C", prefix->drive_c(), "wine", "C:\\win32_standin_tests.exe"},
                                           prefix->environment({"DISPLAY=" + x->name()}), std::chrono::seconds(120));
    ASSERT_TRUE(done.finished) << done.output;
    EXPECT_EQ(done.exit_code, 0) << done.output;
    EXPECT_NE(done.output.find("[  PASSED  ]"), std::string::npos) << done.output;
}
