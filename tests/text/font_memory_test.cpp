// The remembered font: used only while it is the preferred family and still there.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>

#include "text/font_memory.h"

using namespace tickvane::text;

namespace {

class FontMemory : public ::testing::Test {
protected:
    void SetUp() override
    {
        char dir[] = "/tmp/tickvane-font-XXXXXX";
        ASSERT_NE(mkdtemp(dir), nullptr);
        folder = dir;
        memory = folder + "/font";
        font = folder + "/face.ttf";
        std::ofstream(font) << "not really a font";
    }
    void TearDown() override
    {
        std::remove(memory.c_str());
        std::remove(font.c_str());
        rmdir(folder.c_str());
    }
    std::string folder, memory, font;
};

}  // namespace

TEST_F(FontMemory, RecallsWhatWasRememberedWhileTheFileIsThere)
{
    EXPECT_FALSE(recall_font(memory).has_value()) << "nothing remembered yet";
    remember_font(memory, FontFile{font, 2, "VL Gothic"});
    auto recalled = recall_font(memory);
    ASSERT_TRUE(recalled.has_value());
    EXPECT_EQ(recalled->path, font);
    EXPECT_EQ(recalled->index, 2);
    EXPECT_EQ(recalled->family, "VL Gothic");
    std::remove(font.c_str());
    EXPECT_FALSE(recall_font(memory).has_value()) << "a font that went away is looked up again";
}

TEST_F(FontMemory, FallbacksAndDamagedMemoriesAreNotUsed)
{
    remember_font(memory, FontFile{font, 0, "Noto Sans CJK SC"});
    EXPECT_FALSE(recall_font(memory).has_value()) << "a stand-in is not kept for next time";
    std::ofstream(memory) << font << "\n";  // cut short
    EXPECT_FALSE(recall_font(memory).has_value());
    std::ofstream(memory) << folder << "\n0\nVL Gothic\n";  // a folder is no font file
    EXPECT_FALSE(recall_font(memory).has_value());
    EXPECT_FALSE(recall_font("").has_value());
    remember_font(folder + "/no/such/dir/font", FontFile{font, 0, "VL Gothic"});  // must not throw
}
