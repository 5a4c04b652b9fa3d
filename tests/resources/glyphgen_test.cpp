// The generator, run as the build runs it, reproduces the committed files exactly.
#include "resource_readers.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/wait.h>

namespace {

namespace restest = tickvane::restest;

namespace fs = std::filesystem;

int RunGenerator(const std::string& args)
{
    const std::string command = std::string("'") + TICKVANE_GLYPHGEN + "' " + args + " 2>/dev/null";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class GlyphgenRun : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "glyphgen-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
    }
    void TearDown() override { fs::remove_all(dir_); }
    fs::path dir_;
};

TEST_F(GlyphgenRun, ReproducesTheCommittedFilesByteForByte)
{
    ASSERT_EQ(RunGenerator("'" + dir_.string() + "'"), 0);
    for (const char* name : {"small_glyphs.bmp", "large_glyphs.bmp", "zubo.ico"}) {
        SCOPED_TRACE(name);
        const auto made = restest::ReadFile(dir_ / name);
        const auto committed = restest::ReadFile(fs::path(TICKVANE_RESOURCES_DIR) / name);
        EXPECT_EQ(made.size(), committed.size());
        EXPECT_TRUE(made == committed) << "rerun `cmake --build <dir> --target glyphs` and commit the result";
    }
    // Written in place, nothing left behind.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 3);
}

TEST_F(GlyphgenRun, RefusesBadArgumentsWithoutWritingAnything)
{
    EXPECT_NE(RunGenerator(""), 0);
    EXPECT_NE(RunGenerator("'" + dir_.string() + "' extra"), 0);
    EXPECT_NE(RunGenerator("'" + (dir_ / "missing").string() + "'"), 0);
    const fs::path file = dir_ / "plain-file";
    {
        std::ofstream(file) << "x";
    }
    EXPECT_NE(RunGenerator("'" + file.string() + "'"), 0);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
}

TEST_F(GlyphgenRun, ReportsAFileItCannotReplaceAndLeavesNoTemporaryBehind)
{
    fs::create_directory(dir_ / "small_glyphs.bmp");  // a directory where a sheet should go
    EXPECT_NE(RunGenerator("'" + dir_.string() + "'"), 0);
    for (const auto& entry : fs::directory_iterator(dir_))
        EXPECT_NE(entry.path().extension(), ".tmp") << entry.path();
}

}  // namespace
