// The Windows stand-ins' own tests (tests/win32, a Windows console program) run in the
// shared prefix, where Wine's Task Scheduler and menus answer them.
#include <filesystem>

#include "bounded_process.h"
#include "prefix_on_xvfb.h"

namespace fs = std::filesystem;
using namespace tickvane::wine;

namespace {

class StandInsUnderWine : public PrefixOnXvfb {};

TEST_F(StandInsUnderWine, TheirTestsPass)
{
    ASSERT_EQ(prefix_->reset(TICKVANE_WINDOWS_ZUBO), "");
    fs::path tests = fs::path(TICKVANE_WINDOWS_ZUBO).parent_path() / "win32_standin_tests.exe";
    std::error_code ec;
    fs::copy_file(tests, fs::path(prefix_->drive_c()) / tests.filename(), fs::copy_options::overwrite_existing, ec);
    ASSERT_FALSE(ec) << tests << ": " << ec.message();

    // From drive C, whose root the tests' rooted paths name.
    auto done = tickvane::e2e::run_bounded({"env", "-C", prefix_->drive_c(), "wine", "C:\\win32_standin_tests.exe"},
                                           environment(), std::chrono::seconds(120));
    ASSERT_TRUE(done.finished) << done.output;
    EXPECT_EQ(done.exit_code, 0) << done.output;
    EXPECT_NE(done.output.find("[  PASSED  ]"), std::string::npos) << done.output;
}

}  // namespace
